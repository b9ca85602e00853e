#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The lines of the message list in the core's order, each with the exact name of the entry it stands for, so a
// marked line maps back to exactly one entry even when two names differ only in letter case. Both front-ends keep
// their list's lines here and show them in this order.
class ListLines {
public:
    struct Line {
        std::string text;
        std::string entryName;
    };

    // The row a line of this text would take.
    std::size_t PlaceOf(const std::string& text) const;
    // Adds a line at its sorted place and returns its row.
    std::size_t Add(std::string text, std::string entryName);
    void Remove(std::size_t row);
    void Clear() { m_lines.clear(); }

    std::size_t Size() const { return m_lines.size(); }
    const Line& At(std::size_t row) const { return m_lines[row]; }

private:
    std::vector<Line> m_lines;
};
