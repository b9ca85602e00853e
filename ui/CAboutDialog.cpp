#include "CAboutDialog.h"

#include "WindowCentering.h"

#include <QPushButton>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent), m_built(BuildDialog(this, AboutTemplate())) {
    setModal(true);
    connect(m_built.Get<QPushButton>(DialogIds::kOk), &QPushButton::clicked, this, &QDialog::accept);
}

int CAboutDialog::DoModal() {
    OnInitDialog();
    return exec();
}

void CAboutDialog::OnInitDialog() {
    CenterWindow(this, parentWidget());
    m_built.Get<QPushButton>(DialogIds::kOk)->setFocus();
}
