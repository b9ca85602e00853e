#include "ListLines.h"

#include "ListOrder.h"

#include <algorithm>

std::size_t ListLines::PlaceOf(const std::string& text) const {
    const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), text,
                                     [](const std::string& line, const Line& other) { return ListLineLess(line, other.text); });
    return static_cast<std::size_t>(at - m_lines.begin());
}

std::size_t ListLines::Add(std::string text, std::string entryName) {
    const std::size_t row = PlaceOf(text);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(row), Line{std::move(text), std::move(entryName)});
    return row;
}

void ListLines::Remove(std::size_t row) {
    if (row < m_lines.size())
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(row));
}
