#pragma once

#include "DialogBuilder.h"

#include <QDialog>

// The About box: product name, version, maker and year, where to read more, and the icon.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent);

    int DoModal();
    void OnInitDialog();

private:
    BuiltDialog m_built;
};
