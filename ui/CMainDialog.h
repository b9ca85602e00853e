#pragma once

#include "DialogBuilder.h"
#include "ReminderState.h"
#include "Scheduler.h"

#include <QDialog>
#include <QIcon>
#include <QTimer>

#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class ToolTipGate;

// The program's main window: the list of messages, the list commands, the four options and the scheduler's timer.
// The data and its rules live in ReminderState and the scheduler library; this class turns them into a window.
class CMainDialog : public QDialog, public ReminderState, private SchedulerHost {
    Q_OBJECT
public:
    // Loads every setting and message before the window exists, so load errors appear before it.
    explicit CMainDialog(const ReminderServices& services, QWidget* parent = nullptr);
    ~CMainDialog() override;

    // Initialises the window and runs it modally until Exit, Escape or the close box.
    int DoModal();
    void OnInitDialog();

    void UpdateButtons();
    void ShowListControls(bool show);
    static std::string FormatListLine(const MessageEntry& entry);
    bool ValidateMessage(const MessageEntry& entry);
    // The table index of the entry of list line row, or -1.
    int FindMarkedEntry(int row) const;

    void OnTimer(unsigned timerId);
    void ShowDueMessage(MessageEntry* entry);

    void OnAddMessage();
    void OnCopyMarked();
    void OnEditMarked();
    void OnDeleteMarked();
    void OnClearAll();
    void OnAbout();
    void OnActivateMessages();
    void OnShowTooltips();
    void OnConfirmDeletions();
    void OnShowMinimizedOnStart();
    void OnMinimize();
    void OnListSelChange();

    QWidget* Control(int id) const { return m_built.Control(id); }
    QListWidget* MessageList() const { return m_ctlMessageList; }
    bool TooltipsActive() const;
    const QTimer& SchedulerTimer() const { return m_schedulerTimer; }
    QTimer& SchedulerTimer() { return m_schedulerTimer; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsMainWindowMinimized() override;
    void RestoreMainWindow() override;
    void MinimizeMainWindow() override;
    void BringMainWindowToFront() override;
    void RunDisplayDialog(MessageEntry* entry) override;

    void BindControls();
    void FocusAddMessage();
    void ConnectHandlers();
    void AddTooltips();
    void AddListLine(const MessageEntry& entry);
    void DeleteListLine(int row);
    int MarkedRow() const;
    // The common first check of every list command: false, after telling the user, in the failed state.
    bool PassesGlobalErrorCheck();
    void ReportInternalError();
    // Runs the editor on the working copy; true when it ended with OK and both checks passed.
    bool EditAndCheck(MessageEntry& workingCopy, int skipIndex);
    void AddFromWorkingCopy(MessageEntry workingCopy);
    bool RefuseWhenFull();

    BuiltDialog m_built;
    QCheckBox* m_ctlShowMinimized = nullptr;
    QCheckBox* m_ctlConfirmDeletions = nullptr;
    QPushButton* m_ctlEditMarked = nullptr;
    QPushButton* m_ctlCopyMarked = nullptr;
    QPushButton* m_ctlMinimize = nullptr;
    QCheckBox* m_ctlShowTooltips = nullptr;
    QPushButton* m_ctlClearAll = nullptr;
    QLabel* m_ctlListLabel = nullptr;
    QPushButton* m_ctlAddMessage = nullptr;
    QPushButton* m_ctlDeleteMarked = nullptr;
    QListWidget* m_ctlMessageList = nullptr;
    QCheckBox* m_ctlActivateMessages = nullptr;
    ToolTipGate* m_ctlToolTip = nullptr;
    QIcon m_hIcon;
    QTimer m_schedulerTimer;
};

namespace MainTexts {
inline constexpr const char* kInternalError = "An internal error occurred!";
inline constexpr const char* kListFull = "The message list is full.\nNo more than 100 messages can be stored.";
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kConfirmDelete = "Are you sure?\nThis will delete the marked message!";
inline constexpr const char* kConfirmClear = "Are you sure?\nThis will delete all messages!";
} // namespace MainTexts
