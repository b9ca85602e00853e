#pragma once

#include "DialogWindow.h"

namespace Win32Ui {

// The About box: the product, its version and maker, and the icon, centred over the main window.
class CAboutDialog : public DialogWindow {
public:
    CAboutDialog();

protected:
    BOOL OnInitDialog() override;
};

} // namespace Win32Ui
