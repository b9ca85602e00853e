#include "FontSizes.h"

#include "FittingSize.h"

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
    if (!from || m_height == 0)
        return from;
    LONG start = m_height;
    for (const auto& [height, font] : m_made) {
        if (font == from)
            start = height;
    }
    // Two thirds of the base, rounded up: the smallest height with height * 3 >= m_height * 2.
    const LONG floor = (m_height * 2 + 2) / 3;
    // The search ends on the size it settles on, so the last font measured is the one to take. A size the system
    // cannot make is passed over as if it were never tried.
    HFONT last = from;
    LargestFittingSize(static_cast<int>(start), static_cast<int>(floor), [&](int height) {
        HFONT font = height == start ? from : Made(height);
        if (!font)
            return false;
        last = font;
        return fits(font);
    });
    return last;
}

HFONT FontSizes::Made(LONG height) {
    HFONT& font = m_made[height];
    if (!font) {
        LOGFONTW face = m_face;
        face.lfHeight = -height;
        font = CreateFontIndirectW(&face);
    }
    return font;
}

bool FitsOnOneLine(HDC dc, HFONT font, const std::wstring& text, LONG width) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    return needed.right <= width;
}

} // namespace Win32Ui
