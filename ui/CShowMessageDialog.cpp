#include "CShowMessageDialog.h"

#include "ScheduleText.h"

#include <QLabel>
#include <QPushButton>

QString TextForDisplay(const char* storedText) {
    QString text = QString::fromUtf8(storedText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

CShowMessageDialog::CShowMessageDialog(const MessageEntry* entry, Clock clock, QWidget* parent)
    : QDialog(parent), m_built(BuildDialog(this, ShowMessageTemplate())), m_pEntry(entry), m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return std::time(nullptr); };
    m_ctlClock = m_built.Get<QLabel>(1046);
    m_ctlSchedule = m_built.Get<QLabel>(1029);
    m_ctlText = m_built.Get<QLabel>(1012);
    setModal(true);
    connect(m_built.Get<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
    m_clockTimer.setInterval(CLOCK_PERIOD_MS);
    connect(&m_clockTimer, &QTimer::timeout, this, &CShowMessageDialog::OnTimer);
    connect(this, &QDialog::finished, &m_clockTimer, &QTimer::stop);
}

int CShowMessageDialog::DoModal() {
    OnInitDialog();
    return exec();
}

void CShowMessageDialog::OnInitDialog() {
    CenterWindow(this, parentWidget());
    setWindowTitle(LiteralWindowTitle(QString::fromUtf8(m_pEntry->m_szName)));
    m_ctlText->setText(TextForDisplay(m_pEntry->m_szText));
    m_ctlSchedule->setText(QString::fromStdString(FormatScheduleLine(*m_pEntry)));
    OnTimer();
    m_clockTimer.stop();
    m_clockTimer.start();
    m_built.Get<QPushButton>(1)->setFocus();
}

void CShowMessageDialog::OnTimer() { m_ctlClock->setText(QString::fromStdString(FormatClockLine(m_clock()))); }
