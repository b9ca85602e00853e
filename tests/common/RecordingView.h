#pragma once

// A main window as the commands see it: a sorted list of lines with their entry names, a marked line, the buttons'
// states, the options shown, and an editor whose answer the test writes.

#include "ListOrder.h"
#include "MainWindowView.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingView : public MainWindowView {
public:
    struct Line {
        std::string text;
        std::string entryName;
    };

    bool RunEditor(MessageEntry& workingCopy, bool tooltips) override {
        editorOpened.push_back(workingCopy);
        editorTooltips = tooltips;
        // Without an answer the user cancels.
        return editor ? editor(workingCopy) : false;
    }
    std::optional<std::string> MarkedEntryName() override {
        if (marked < 0)
            return std::nullopt;
        return lines[std::size_t(marked)].entryName;
    }
    void AddLine(const std::string& line, const std::string& entryName) override {
        const auto at = std::upper_bound(lines.begin(), lines.end(), line,
                                         [](const std::string& text, const Line& other) { return ListLineLess(text, other.text); });
        const int row = int(at - lines.begin());
        lines.insert(at, {line, entryName});
        if (marked >= row)
            ++marked;
    }
    void DeleteMarkedLine() override {
        if (marked < 0)
            return;
        lines.erase(lines.begin() + marked);
        marked = -1;
    }
    void ClearLines() override {
        lines.clear();
        marked = -1;
    }
    void ApplyButtons(const ButtonStates& states) override {
        buttons = states;
        ++buttonUpdates;
    }
    void ShowOption(Option option, bool on) override { shownOptions.emplace_back(option, on); }

    // Marks the line with this exact text; false when there is none.
    bool Mark(const std::string& text) {
        for (std::size_t row = 0; row < lines.size(); ++row) {
            if (lines[row].text == text) {
                marked = int(row);
                return true;
            }
        }
        return false;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Line& line : lines)
            texts.push_back(line.text);
        return texts;
    }

    std::vector<Line> lines;
    int marked = -1;
    std::function<bool(MessageEntry&)> editor;
    std::vector<MessageEntry> editorOpened;
    bool editorTooltips = false;
    ButtonStates buttons;
    int buttonUpdates = 0;
    std::vector<std::pair<Option, bool>> shownOptions;
};
