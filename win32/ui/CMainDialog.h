#pragma once

#include "DialogWindow.h"
#include "ListLines.h"
#include "MainCommands.h"
#include "ReminderModel.h"
#include "Scheduler.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Win32Ui {

// How the main window draws the person's attention while a due message waits, and withdraws it.
using AttentionSignal = std::function<void(HWND window, bool wanted)>;
// Flashes the window's task-bar button until told to stop.
void FlashTaskBarButton(HWND window, bool wanted);

// The program's main window: the list of messages, the list commands, the four options and the scheduler's timer.
// It has the model and hands its controls' events to the commands and the scheduler, which decide; the window
// shows what they decided.
class CMainDialog : public DialogWindow, private MainWindowView {
public:
    // Loads every setting and message before the window exists, so that load errors appear before it.
    // windowReady, when given, learns the window as soon as it exists.
    explicit CMainDialog(const ReminderServices& services, std::function<void(HWND)> windowReady = {},
                         AttentionSignal attention = FlashTaskBarButton);

    // Runs the window modally until Exit, Escape or the close box.
    INT_PTR DoModal() { return RunMainLoop(); }

    const ReminderModel& Model() const { return m_model; }
    HWND ToolTips() const { return m_toolTips; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;

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

    ReminderModel m_model;
    MainCommands m_commands;
    Scheduler m_scheduler;
    SchedulerWindow m_schedulerWindow;
    std::function<void(HWND)> m_windowReady;
    AttentionSignal m_attention;
    HWND m_toolTips = nullptr;
    // The list's lines in the core's order, with the entry each stands for; finding a line's place and a marked
    // line's entry reads no window.
    ListLines m_lines;
};

} // namespace Win32Ui
