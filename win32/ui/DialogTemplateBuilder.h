#pragma once

#include "DialogTemplates.h"

#include "WindowsHeaders.h"

#include <string>
#include <vector>

namespace Win32Ui {

// The dialog templates of res/ as the in-memory templates (DLGTEMPLATEEX) that the dialog functions take: the same
// ids, texts, styles, rectangles in dialog units and order, so the Windows windows and the Qt ones come from one
// description. The buffer is aligned as the dialog functions require.
class BuiltTemplate {
public:
    explicit BuiltTemplate(const DialogTemplate& source);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    std::vector<DWORD> m_words;
};

// The Windows styles of a control of the template, WS_CHILD included.
DWORD ControlStyle(const ControlTemplate& control);
// The Windows styles of the dialog itself.
DWORD DialogStyle(const DialogTemplate& source);
// The face the dialog asks for in place of the template's.
std::wstring DialogFontFace(const DialogTemplate& source);

} // namespace Win32Ui
