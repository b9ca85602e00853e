#pragma once

#include "DialogTemplates.h"
#include "WindowsHeaders.h"

#include <string>

// Checks a window against its template: title, window styles, client size, and each control's id, class, text,
// rectangle through MapDialogRect and kind-giving styles in template order; then the default button and the tab
// order over the visible, enabled tab stops.
void CheckAgainstTemplate(HWND dialog, const DialogTemplate& source, const std::wstring& title);
