#include "MainCommands.h"

#include "MessageValidation.h"
#include "OptionCheckBoxes.h"
#include "ReminderModel.h"
#include "UserPrompts.h"

std::string FormatListLine(const MessageEntry& entry) {
    return std::string(entry.m_szName) + (entry.m_bActive ? CommandTexts::kActive : CommandTexts::kInactive);
}

ButtonStates DecideButtons(int count, bool lineMarked, bool listShown) {
    using Focus = ButtonStates::Focus;
    const Focus toAdd = listShown ? Focus::AddMessage : Focus::ActivateMessages;
    ButtonStates states;
    const bool any = count != 0;
    states.edit = states.copy = states.del = states.clearAll = any;
    if (!any)
        states.focus = toAdd;
    if (!lineMarked) {
        states.focus = toAdd;
        states.edit = states.copy = states.del = false;
    } else {
        states.del = true;
    }
    return states;
}

MainCommands::MainCommands(ReminderModel& model, MainWindowView& view) : m_model(model), m_view(view) {}

void MainCommands::OnLoad() {
    m_model.AllocateTable();
    m_model.LoadAll();
}

void MainCommands::OnOpen() {
    // The timer runs even in the failed state: its ticks find that state and show nothing.
    m_view.StartSchedulerTimer();
    m_view.SetIconsAndTabStops();
    FillList();
    m_view.ShowListControls(m_model.IsOn(Option::MessagesActivated));
    // The tooltips' own mark is set with the tooltips, once they exist.
    for (const OptionCheckBox& box : kOptionCheckBoxes) {
        if (box.option != Option::Tooltips)
            m_view.ShowOptionMark(box.option, m_model.IsOn(box.option));
    }
    // After the list controls: where the focus goes depends on whether "Add message ..." is shown.
    UpdateButtons();
    m_view.CreateTooltips();
    m_view.ShowOptionMark(Option::Tooltips, m_model.IsOn(Option::Tooltips));
    m_view.ShowTooltips(m_model.IsOn(Option::Tooltips));
    // Last, so that the window is complete when it goes to the task bar.
    if (m_model.IsOn(Option::ShowMinimized))
        m_view.Minimize();
}

void MainCommands::FillList() {
    m_view.ClearLines();
    if (!m_model.GlobalError()) {
        for (int i = 0; i < m_model.Count(); ++i)
            AddLineOf(m_model.Entry(i));
    }
}

void MainCommands::UpdateButtons() {
    m_view.ApplyButtons(DecideButtons(m_model.Count(), m_view.MarkedEntryName().has_value(),
                                      m_model.IsOn(Option::MessagesActivated)));
}

void MainCommands::AddLineOf(const MessageEntry& entry) { m_view.AddLine(FormatListLine(entry), entry.m_szName); }

void MainCommands::FinishCommand() {
    UpdateButtons();
    m_model.SaveAll();
}

bool MainCommands::PassesGlobalErrorCheck() {
    if (!m_model.GlobalError())
        return true;
    m_model.ShowErrorBox(StoreTexts::kGlobalError, StoreTexts::kErrorCaption);
    return false;
}

int MainCommands::FindMarkedEntry() {
    const std::optional<std::string> name = m_view.MarkedEntryName();
    if (!name)
        return -2;
    // The line carries its entry's exact name, so two names that differ only in letter case map to their own
    // entries; a line that maps to none means the list and the table no longer agree.
    const int index = m_model.FindEntryByName(name->c_str());
    if (index < 0) {
        // Entered before the box, whose nested event loop lets timer ticks in: they must find the failed state.
        m_model.EnterGlobalError();
        m_model.ShowErrorBox(CommandTexts::kInternalError, StoreTexts::kErrorCaption);
    }
    return index;
}

bool MainCommands::RefuseWhenFull() {
    if (!m_model.IsTableFull())
        return false;
    m_model.ShowErrorBox(CommandTexts::kListFull, StoreTexts::kErrorCaption);
    return true;
}

bool MainCommands::ValidateMessage(const MessageEntry& entry, int skipIndex) {
    if (const auto error = FindValidationError(entry, m_model, skipIndex)) {
        m_model.ShowErrorBox(*error, StoreTexts::kErrorCaption);
        return false;
    }
    return true;
}

bool MainCommands::EditAndCheck(MessageEntry& workingCopy, int skipIndex) {
    if (!m_view.RunEditor(workingCopy, m_model.IsOn(Option::Tooltips)))
        return false;
    return ValidateMessage(workingCopy, skipIndex);
}

void MainCommands::AddFromWorkingCopy(MessageEntry workingCopy) {
    // A nested timer tick cannot add entries, so the slot checked before the editor opened is still free.
    if (EditAndCheck(workingCopy, -1) && m_model.AppendEntry(workingCopy))
        AddLineOf(m_model.Entry(m_model.Count() - 1));
    FinishCommand();
}

void MainCommands::OnAddMessage() {
    if (!PassesGlobalErrorCheck() || RefuseWhenFull())
        return;
    AddFromWorkingCopy(m_model.MakeNewEntry());
}

void MainCommands::OnCopyMarked() {
    if (!PassesGlobalErrorCheck() || m_model.Count() == 0)
        return;
    const int index = FindMarkedEntry();
    if (index < 0 || RefuseWhenFull())
        return;
    AddFromWorkingCopy(m_model.MakeCopyOf(index));
}

void MainCommands::OnEditMarked() {
    if (!PassesGlobalErrorCheck() || m_model.Count() == 0)
        return;
    const int index = FindMarkedEntry();
    if (index == -2)
        return;
    if (index < 0) {
        FinishCommand();
        return;
    }
    MessageEntry workingCopy = m_model.Entry(index);
    if (EditAndCheck(workingCopy, index)) {
        m_model.ReplaceEntry(index, workingCopy);
        m_view.DeleteMarkedLine();
        AddLineOf(m_model.Entry(index));
    }
    FinishCommand();
}

void MainCommands::OnDeleteMarked() {
    if (!PassesGlobalErrorCheck() || m_model.Count() == 0)
        return;
    const int index = FindMarkedEntry();
    if (index < 0) {
        FinishCommand();
        return;
    }
    if (m_model.IsOn(Option::ShowWarnings)) {
        m_model.Prompts().Beep();
        if (!m_model.Prompts().AskYesNo(CommandTexts::kConfirmDelete, CommandTexts::kWarningCaption)) {
            FinishCommand();
            return;
        }
    }
    m_view.DeleteMarkedLine();
    m_model.RemoveEntry(index);
    FinishCommand();
}

void MainCommands::OnClearAll() {
    if (!PassesGlobalErrorCheck())
        return;
    if (m_model.IsOn(Option::ShowWarnings)) {
        m_model.Prompts().Beep();
        if (!m_model.Prompts().AskYesNo(CommandTexts::kConfirmClear, CommandTexts::kWarningCaption))
            return;
    }
    m_view.ClearLines();
    m_model.ClearEntries();
    FinishCommand();
}

void MainCommands::OnListSelChange() {
    if (!m_model.GlobalError())
        UpdateButtons();
}

void MainCommands::OnOptionClicked(Option option) {
    // Messages cannot be switched on or off in the failed state; the other options still can, since they change
    // nothing the failure is about.
    if (option == Option::MessagesActivated && !PassesGlobalErrorCheck())
        return;
    m_model.ToggleOption(option);
    m_view.ShowOption(option, m_model.IsOn(option));
    m_model.SaveAll();
}
