#pragma once

#include "DialogBuilder.h"
#include "MainCommands.h"
#include "ReminderModel.h"
#include "Scheduler.h"

#include <QDialog>
#include <QIcon>
#include <QTimer>

#include <string>

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class MessageListModel;
class ToolTipGate;

// The program's main window: the list of messages, the list commands, the four options and the scheduler's timer.
// It has the model and hands its controls' events to the commands and the scheduler, which decide; the window
// shows what they decided.
class CMainDialog : public QDialog, private MainWindowView {
    Q_OBJECT
public:
    // Loads every setting and message before the window exists, so load errors appear before it.
    explicit CMainDialog(const ReminderServices& services, QWidget* parent = nullptr);
    ~CMainDialog() override;

    // Initialises the window and runs it modally until Exit, Escape or the close box.
    int DoModal();
    void OnInitDialog();

    void OnTimer(unsigned timerId);
    void OnAbout();
    void OnMinimize();

    const ReminderModel& Model() const { return m_model; }
    ReminderModel& Model() { return m_model; }
    MainCommands& Commands() { return m_commands; }
    QWidget* Control(int id) const { return m_built.Control(id); }
    QListView* MessageList() const { return m_ctlMessageList; }
    MessageListModel* MessageLines() const { return m_lines; }
    bool TooltipsActive() const;
    const QTimer& SchedulerTimer() const { return m_schedulerTimer; }
    QTimer& SchedulerTimer() { return m_schedulerTimer; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the scheduler does to the main window when a message is due.
    class SchedulerWindow : public SchedulerHost {
    public:
        explicit SchedulerWindow(CMainDialog& dialog) : m_dialog(dialog) {}
        bool IsMainWindowMinimized() override;
        void RestoreMainWindow() override;
        void MinimizeMainWindow() override;
        void BringMainWindowToFront() override;
        void RequestAttention(bool wanted) override;
        void RunDisplayDialog(const MessageEntry& entry) override;

    private:
        CMainDialog& m_dialog;
    };

    // The window's side of the commands.
    bool RunEditor(MessageEntry& workingCopy, bool tooltips) override;
    std::optional<std::string> MarkedEntryName() override;
    void AddLine(const std::string& line, const std::string& entryName) override;
    void DeleteMarkedLine() override;
    void ClearLines() override;
    void ApplyButtons(const ButtonStates& states) override;
    void ShowOption(Option option, bool on) override;
    void StartSchedulerTimer() override;
    void SetIconsAndTabStops() override;
    void CreateTooltips() override;
    void ShowOptionMark(Option option, bool on) override;
    void ShowListControls(bool show) override;
    void ShowTooltips(bool on) override;
    void Minimize() override;

    void BindControls();
    void ConnectHandlers();
    int MarkedRow() const;
    // Keeps a current line, unmarked, near row, so the list shows where its focus is and the keys act from there.
    void KeepCurrentLine(int row);

    ReminderModel m_model;
    BuiltDialog m_built;
    MainCommands m_commands;
    Scheduler m_scheduler;
    SchedulerWindow m_schedulerWindow;
    QPushButton* m_ctlEditMarked = nullptr;
    QPushButton* m_ctlCopyMarked = nullptr;
    QPushButton* m_ctlClearAll = nullptr;
    QLabel* m_ctlListLabel = nullptr;
    QPushButton* m_ctlAddMessage = nullptr;
    QPushButton* m_ctlDeleteMarked = nullptr;
    QListView* m_ctlMessageList = nullptr;
    QCheckBox* m_ctlActivateMessages = nullptr;
    MessageListModel* m_lines = nullptr;
    ToolTipGate* m_ctlToolTip = nullptr;
    QIcon m_hIcon;
    QTimer m_schedulerTimer;
    bool m_changingLines = false;
};
