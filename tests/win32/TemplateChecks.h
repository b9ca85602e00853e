#pragma once

#include "../common/ExpectedTemplates.h"
#include "DialogTemplates.h"
#include "WindowsHeaders.h"

#include <string>

// Checks a window: its title, font, client size and each control's id, class, text and rectangle through
// MapDialogRect against the literal table, in template order; the window styles, the kind-giving styles of each
// control, the default button and the tab order over the visible, enabled tab stops against the template.
void CheckAgainstTemplate(HWND dialog, const DialogTemplate& source, const Expected::Dialog& expected,
                          const std::wstring& title);
// Checks that the window's tooltip control holds one tool per control the table gives a tooltip, with its text.
void CheckToolTips(HWND dialog, HWND tips, const Expected::Dialog& expected);
