#pragma once

#include "WindowsHeaders.h"

#include <functional>
#include <map>
#include <string>

namespace Win32Ui {

// The sizes of a dialog's font in which its one-line texts are set when the font itself is too wide for them, as on
// a system that lacks the template's face. Each size is made once and freed with this object.
class FontSizes {
public:
    explicit FontSizes(HFONT base);
    ~FontSizes();
    FontSizes(const FontSizes&) = delete;
    FontSizes& operator=(const FontSizes&) = delete;

    // The first of from (the base font when null) and the sizes below it, down to two thirds of the base (smaller
    // text is no longer worth reading), for which fits holds; the smallest of them when it holds for none.
    HFONT Largest(const std::function<bool(HFONT)>& fits, HFONT from = nullptr);
    HFONT Base() const { return m_base; }

private:
    // The base face at the given height, made the first time it is asked for; null when the system cannot make it.
    HFONT Made(LONG height);

    HFONT m_base;
    LOGFONTW m_face{};
    LONG m_height = 0;
    std::map<LONG, HFONT> m_made;
};

// Whether text fits on one line in width pixels when drawn in font.
bool FitsOnOneLine(HDC dc, HFONT font, const std::wstring& text, LONG width);

} // namespace Win32Ui
