#pragma once

// A main window as the commands see it: a sorted list of lines with their entry names, a marked line, the buttons'
// states, the options shown, and an editor whose answer the test writes.

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
        const int row = int(lines.Add(line, entryName));
        if (marked >= row)
            ++marked;
    }
    void DeleteMarkedLine() override {
        if (marked < 0)
            return;
        lines.Remove(std::size_t(marked));
        marked = -1;
    }
    void ClearLines() override {
        lines.Clear();
        marked = -1;
    }
    void ApplyButtons(const ButtonStates& states) override {
        buttons = states;
        ++buttonUpdates;
    }
    void ShowOption(Option option, bool on) override { shownOptions.emplace_back(option, on); }

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
};
