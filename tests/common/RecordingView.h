#pragma once

// A main window as the commands see it: a sorted list of lines with their entry names, a marked line, the buttons'
// states, the options shown, and an editor whose answer the test writes. Every change to the window is also
// written, in order, to calls.

#include "ListLines.h"
#include "MainWindowView.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingView : public MainWindowView {
public:
    bool RunEditor(MessageEntry& workingCopy, bool tooltips) override {
        editorOpened.push_back(workingCopy);
        editorTooltips = tooltips;
        // Without an answer the user cancels.
        return editor ? editor(workingCopy) : false;
    }
    std::optional<std::string> MarkedEntryName() override {
        if (marked < 0)
            return std::nullopt;
        return lines.At(std::size_t(marked)).entryName;
    }
    void AddLine(const std::string& line, const std::string& entryName) override {
        calls.push_back("line " + line);
        const int row = int(lines.Add(line, entryName));
        if (marked >= row)
            ++marked;
    }
    void DeleteMarkedLine() override {
        calls.push_back("delete marked");
        if (marked < 0)
            return;
        lines.Remove(std::size_t(marked));
        marked = -1;
    }
    void ClearLines() override {
        calls.push_back("clear");
        lines.Clear();
        marked = -1;
    }
    void ApplyButtons(const ButtonStates& states) override {
        buttons = states;
        ++buttonUpdates;
        using Focus = ButtonStates::Focus;
        calls.push_back(std::string("buttons") + (states.edit ? " edit" : "") + (states.copy ? " copy" : "") +
                        (states.del ? " delete" : "") + (states.clearAll ? " clear" : "") +
                        (states.focus == Focus::AddMessage         ? ", focus add"
                         : states.focus == Focus::ActivateMessages ? ", focus activate"
                                                                   : ""));
    }
    void ShowOption(Option option, bool on) override {
        shownOptions.emplace_back(option, on);
        calls.push_back("option " + Name(option) + OnOff(on));
    }
    void StartSchedulerTimer() override { calls.push_back("timer"); }
    void SetIconsAndTabStops() override { calls.push_back("icons"); }
    void CreateTooltips() override { calls.push_back("create tooltips"); }
    void ShowOptionMark(Option option, bool on) override { calls.push_back("mark " + Name(option) + OnOff(on)); }
    void ShowListControls(bool show) override { calls.push_back(show ? "list shown" : "list hidden"); }
    void ShowTooltips(bool on) override { calls.push_back("tooltips" + OnOff(on)); }
    void Minimize() override { calls.push_back("minimize"); }

    // Marks the line with this exact text; false when there is none.
    bool Mark(const std::string& text) {
        for (std::size_t row = 0; row < lines.Size(); ++row) {
            if (lines.At(row).text == text) {
                marked = int(row);
                return true;
            }
        }
        return false;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < lines.Size(); ++row)
            texts.push_back(lines.At(row).text);
        return texts;
    }

    ListLines lines;
    int marked = -1;
    std::function<bool(MessageEntry&)> editor;
    std::vector<MessageEntry> editorOpened;
    bool editorTooltips = false;
    ButtonStates buttons;
    int buttonUpdates = 0;
    std::vector<std::pair<Option, bool>> shownOptions;
    std::vector<std::string> calls;

private:
    static std::string Name(Option option) {
        switch (option) {
        case Option::MessagesActivated:
            return "messages";
        case Option::Tooltips:
            return "tooltips";
        case Option::ShowWarnings:
            return "warnings";
        case Option::ShowMinimized:
            return "minimized";
        default:
            return "option " + std::to_string(static_cast<int>(option));
        }
    }
    static std::string OnOff(bool on) { return on ? " on" : " off"; }
};
