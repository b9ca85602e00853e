#include "CEditMessageDialog.h"

#include "AreaLimit.h"
#include "CShowMessageDialog.h"
#include "IntParse.h"
#include "TextFit.h"
#include "ToolTipGate.h"
#include "WindowCentering.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
enum ControlIds {
    IDC_NAME = 1009,
    IDC_TEXT = 1010,
    IDC_ACTIVE = 1011,
    IDC_DAY = 1021,
    IDC_HOUR = 1022,
    IDC_MONTH = 1023,
    IDC_YEAR = 1024,
    IDC_MINUTE = 1025,
    IDC_SHOW_DAYS = 1026,
    IDC_REPEAT = 1028,
    IDC_EVERY_DAY = 1039,
    IDC_DAY_LABEL = 1040,
    IDC_MONTH_LABEL = 1041,
    IDC_YEAR_LABEL = 1042,
    IDC_SHOW_DAYS_BEFORE = 1043,
    IDC_SHOW_DAYS_AFTER = 1044,
    IDC_EVERY_DAY_NOTE = 1045,
};

constexpr const char* kEveryDayNote =
    "Configuration of date is not\nneccessary when message\nshould be shown every day.";

QString Number(std::int32_t value) { return QString::number(value); }
} // namespace

std::string StoredTextFromField(const QString& fieldText) {
    QString text = fieldText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

CEditMessageDialog::CEditMessageDialog(MessageEntry* entry, int bTooltips, QWidget* parent)
    : QDialog(parent), m_built(BuildDialog(this, EditMessageTemplate())), m_bTooltips(bTooltips), m_pEntry(entry) {
    m_ctlEveryDayNote = m_built.Get<QLabel>(IDC_EVERY_DAY_NOTE);
    m_ctlYearLabel = m_built.Get<QLabel>(IDC_YEAR_LABEL);
    m_ctlShowDaysAfter = m_built.Get<QLabel>(IDC_SHOW_DAYS_AFTER);
    m_ctlShowDaysBefore = m_built.Get<QLabel>(IDC_SHOW_DAYS_BEFORE);
    m_ctlMonthLabel = m_built.Get<QLabel>(IDC_MONTH_LABEL);
    m_ctlDayLabel = m_built.Get<QLabel>(IDC_DAY_LABEL);
    m_ctlEveryDay = m_built.Get<QCheckBox>(IDC_EVERY_DAY);
    m_ctlRepeatMinutes = m_built.Get<QLineEdit>(IDC_REPEAT);
    m_ctlActive = m_built.Get<QCheckBox>(IDC_ACTIVE);
    m_ctlYear = m_built.Get<QLineEdit>(IDC_YEAR);
    m_ctlShowDays = m_built.Get<QLineEdit>(IDC_SHOW_DAYS);
    m_ctlMonth = m_built.Get<QLineEdit>(IDC_MONTH);
    m_ctlMinute = m_built.Get<QLineEdit>(IDC_MINUTE);
    m_ctlText = m_built.Get<QPlainTextEdit>(IDC_TEXT);
    m_ctlName = m_built.Get<QLineEdit>(IDC_NAME);
    m_ctlHour = m_built.Get<QLineEdit>(IDC_HOUR);
    m_ctlDay = m_built.Get<QLineEdit>(IDC_DAY);

    // Fields carry no visible text of their own; screen readers name them after their labels.
    const std::pair<QWidget*, const char*> names[] = {
        {m_ctlName, "Name of message:"},    {m_ctlText, "Message text:"},
        {m_ctlDay, "Day (1 <= day <= 31):"}, {m_ctlMonth, "Month (1 <= month <= 12):"},
        {m_ctlYear, "Year (format YYYY):"},  {m_ctlHour, "Hour (0 <= hour <= 23):"},
        {m_ctlMinute, "Minute (0 <= minute <= 59):"}, {m_ctlShowDays, "Show message for"},
        {m_ctlRepeatMinutes, "Show message every"},
    };
    for (const auto& [field, name] : names) {
        field->setAccessibleName(QString::fromUtf8(name));
        field->installEventFilter(this);
    }

    setModal(true);
    connect(m_built.Get<QPushButton>(DialogIds::kOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(m_built.Get<QPushButton>(DialogIds::kCancel), &QPushButton::clicked, this, &QDialog::reject);
    // Every change of a box's mark flips its flag once, however it was made (a click, Space, an accessibility
    // tool's toggle); initialisation sets the marks with the handlers held back.
    connect(m_ctlActive, &QCheckBox::toggled, this, &CEditMessageDialog::OnActiveMessage);
    connect(m_ctlEveryDay, &QCheckBox::toggled, this, &CEditMessageDialog::OnEveryDay);
}

int CEditMessageDialog::DoModal() {
    OnInitDialog();
    const int result = exec();
    // Cancel, Escape and the close box answer DialogIds::kCancel; Qt's own answer for them is 0.
    return result == QDialog::Rejected ? DialogIds::kCancel : result;
}

void CEditMessageDialog::OnInitDialog() {
    CenterWindow(this, parentWidget());
    {
        const QSignalBlocker blockActive(m_ctlActive);
        const QSignalBlocker blockEveryDay(m_ctlEveryDay);
        m_ctlActive->setChecked(m_pEntry->m_bActive != 0);
        m_ctlEveryDay->setChecked(m_pEntry->m_bEveryDay != 0);
    }
    m_ctlName->setText(QString::fromUtf8(m_pEntry->m_szName));
    SetFieldText(m_ctlText, TextForDisplay(m_pEntry->m_szText));
    // Signed, so a stored negative number shows and reads back as itself.
    m_ctlDay->setText(Number(m_pEntry->m_nDay));
    m_ctlMonth->setText(Number(m_pEntry->m_nMonth));
    m_ctlYear->setText(Number(m_pEntry->m_nYear));
    m_ctlMinute->setText(Number(m_pEntry->m_nMinute));
    m_ctlHour->setText(Number(m_pEntry->m_nHour));
    m_ctlShowDays->setText(Number(m_pEntry->m_nShowDays));
    m_ctlRepeatMinutes->setText(Number(m_pEntry->m_nRepeatMinutes));

    if (!m_ctlToolTip) {
        m_ctlToolTip = new ToolTipGate(this);
        m_ctlToolTip->SetActive(true);
        const std::pair<QWidget*, const char*> tools[] = {
            {m_ctlName, "Identifier of message"},
            {m_ctlText, "Enter your message here"},
            {m_ctlDay, "Day for displaying message"},
            {m_ctlMonth, "Month for displaying message"},
            {m_ctlYear, "Year for displaying message"},
            {m_ctlHour, "Hour for displaying message"},
            {m_ctlMinute, "Minute for displaying message"},
            {m_ctlShowDays, "How many days would you like to display the message?"},
            {m_ctlRepeatMinutes, "Time until next display of message"},
            {m_ctlActive, "Check to activate message"},
            {m_ctlEveryDay, "Check to show message every day at specified time"},
        };
        for (const auto& [control, text] : tools)
            m_ctlToolTip->AddTool(control, QString::fromUtf8(text));
    }
    m_ctlToolTip->SetActive(m_bTooltips != 0);

    m_ctlEveryDayNote->setText(QString::fromUtf8(kEveryDayNote));
    UpdateDateFields();
    m_built.Get<QPushButton>(DialogIds::kOk)->setFocus();
}

bool CEditMessageDialog::TooltipsActive() const { return m_ctlToolTip && m_ctlToolTip->IsActive(); }

void CEditMessageDialog::UpdateDateFields() {
    const bool everyDay = m_pEntry->m_bEveryDay != 0;
    for (QWidget* control : std::initializer_list<QWidget*>{m_ctlYear, m_ctlMonth, m_ctlDay, m_ctlShowDays,
                                                            m_ctlYearLabel, m_ctlMonthLabel, m_ctlDayLabel,
                                                            m_ctlShowDaysBefore, m_ctlShowDaysAfter})
        control->setVisible(!everyDay);
    m_ctlEveryDayNote->setVisible(everyDay);
}

void CEditMessageDialog::OnActiveMessage() { m_pEntry->m_bActive = m_pEntry->m_bActive ? 0 : 1; }

void CEditMessageDialog::OnEveryDay() {
    m_pEntry->m_bEveryDay = m_pEntry->m_bEveryDay ? 0 : 1;
    UpdateDateFields();
}

void CEditMessageDialog::ReadField(QWidget* field) {
    if (field == m_ctlName) {
        CopyFitted(m_pEntry->m_szName, sizeof m_pEntry->m_szName, m_ctlName->text().toStdString());
        return;
    }
    if (field == m_ctlText) {
        // toPlainText() would turn no-break spaces into blanks; the raw text keeps them, with its own line breaks.
        QString text = m_ctlText->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        CopyFitted(m_pEntry->m_szText, sizeof m_pEntry->m_szText, StoredTextFromField(text));
        return;
    }
    const std::pair<QLineEdit*, std::int32_t MessageEntry::*> numbers[] = {
        {m_ctlDay, &MessageEntry::m_nDay},       {m_ctlMonth, &MessageEntry::m_nMonth},
        {m_ctlYear, &MessageEntry::m_nYear},     {m_ctlHour, &MessageEntry::m_nHour},
        {m_ctlMinute, &MessageEntry::m_nMinute}, {m_ctlShowDays, &MessageEntry::m_nShowDays},
        {m_ctlRepeatMinutes, &MessageEntry::m_nRepeatMinutes},
    };
    for (const auto& [edit, member] : numbers) {
        if (field == edit) {
            m_pEntry->*member = ParseDialogInt(edit->text().toStdString());
            return;
        }
    }
}

bool CEditMessageDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut)
        ReadField(qobject_cast<QWidget*>(watched));
    return QDialog::eventFilter(watched, event);
}

void CEditMessageDialog::done(int result) {
    // Enter and Escape close the dialog without moving the focus; what was typed last still counts.
    if (QWidget* focused = focusWidget())
        ReadField(focused);
    QDialog::done(result);
}
