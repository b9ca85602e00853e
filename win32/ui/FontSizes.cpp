#include "FontSizes.h"

namespace Win32Ui {

FontSizes::FontSizes(HFONT base) : m_base(base) {
    if (m_base && GetObjectW(m_base, sizeof m_face, &m_face))
        m_height = m_face.lfHeight < 0 ? -m_face.lfHeight : m_face.lfHeight;
}

FontSizes::~FontSizes() {
    for (const auto& [height, font] : m_made)
        DeleteObject(font);
}

HFONT FontSizes::Largest(const std::function<bool(HFONT)>& fits, HFONT from) {
    if (!from)
        from = m_base;
    if (!from || fits(from) || m_height == 0)
        return from;
    LONG start = m_height;
    for (const auto& [height, font] : m_made) {
        if (font == from)
            start = height;
    }
    HFONT smallest = from;
    for (LONG height = start - 1; height * 3 >= m_height * 2; --height) {
        HFONT& font = m_made[height];
        if (!font) {
            LOGFONTW face = m_face;
            face.lfHeight = -height;
            font = CreateFontIndirectW(&face);
        }
        if (!font)
            continue;
        if (fits(font))
            return font;
        smallest = font;
    }
    return smallest;
}

bool FitsOnOneLine(HDC dc, HFONT font, const std::wstring& text, LONG width) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    return needed.right <= width;
}

} // namespace Win32Ui
