#include "CEditMessageDialog.h"

#include "AreaLimit.h"
#include "CShowMessageDialog.h"
#include "EditFields.h"
#include "SingleLineValidator.h"
#include "TextFit.h"
#include "ToolTipGate.h"
#include "WindowCentering.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>

namespace {
using namespace EditIds;

QString Number(std::int32_t value) {
    return QString::number(value);
}
} // namespace

namespace {
// toPlainText() would turn no-break spaces into blanks; the raw text keeps them, with its own line breaks.
QString FieldText(const QPlainTextEdit* field) {
    QString text = field->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}
} // namespace

std::string StoredTextFromField(const QString& fieldText) {
    QString text = fieldText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

CEditMessageDialog::CEditMessageDialog(MessageEntry* entry, int bTooltips, QWidget* parent)
    : QDialog(parent), m_built(BuildDialog(this, EditMessageTemplate())), m_bTooltips(bTooltips), m_pEntry(entry) {
    m_ctlEveryDayNote = m_built.Get<QLabel>(kEveryDayNote);
    m_ctlEveryDay = m_built.Get<QCheckBox>(kEveryDay);
    m_ctlActive = m_built.Get<QCheckBox>(kActive);
    m_ctlText = m_built.Get<QPlainTextEdit>(kText);
    m_ctlName = m_built.Get<QLineEdit>(kName);

    // The name and text fields take no more than the entry keeps: what they show is what is stored.
    m_ctlName->setValidator(new SingleLineValidator(m_ctlName, sizeof m_pEntry->m_szName, [this] { m_refusalBeep(); }));
    if (auto* limit = m_ctlText->findChild<AreaLimit*>(QString(), Qt::FindDirectChildrenOnly)) {
        limit->SetStoredLimit([](const QString& before, const QString& after, qsizetype editEnd) {
            const FittedEdit fit = FitEdit(StoredTextFromField(before), StoredTextFromField(after), MESSAGE_TEXT_SIZE,
                                           StoredTextFromField(after.left(editEnd)).size());
            if (fit.whole)
                return AreaLimit::Fit{after, editEnd, true};
            const auto fieldText = [](std::string_view stored) {
                return QString::fromUtf8(stored.data(), qsizetype(stored.size()))
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            };
            return AreaLimit::Fit{fieldText(fit.text),
                                  fieldText(std::string_view(fit.text).substr(0, fit.caret)).size(), false};
        });
        limit->SetRefusalBeep([this] { m_refusalBeep(); });
    }
    // Each field is read into the working copy when it loses the focus.
    for (QWidget* control : m_built.Controls()) {
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control))
            control->installEventFilter(this);
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
    m_shownText = StoredTextFromField(FieldText(m_ctlText));
    // Signed, so a stored negative number shows and reads back as itself.
    for (const NumberField& number : kNumberFields)
        m_built.Get<QLineEdit>(number.id)->setText(Number(m_pEntry->*number.field));

    if (!m_ctlToolTip) {
        m_ctlToolTip = new ToolTipGate(this);
        m_ctlToolTip->SetActive(true);
        for (const ToolTipRow& tool : EditMessageTemplate().tooltips)
            m_ctlToolTip->AddTool(m_built.Control(tool.id), QString::fromUtf8(tool.text));
    }
    m_ctlToolTip->SetActive(m_bTooltips != 0);

    m_ctlEveryDayNote->setText(QString::fromUtf8(kEveryDayNoteText));
    UpdateDateFields();
    m_built.Get<QPushButton>(DialogIds::kOk)->setFocus();
}

bool CEditMessageDialog::TooltipsActive() const {
    return m_ctlToolTip && m_ctlToolTip->IsActive();
}

void CEditMessageDialog::UpdateDateFields() {
    const bool everyDay = m_pEntry->m_bEveryDay != 0;
    for (int id : kDateControls)
        m_built.Control(id)->setVisible(!everyDay);
    m_ctlEveryDayNote->setVisible(everyDay);
}

void CEditMessageDialog::OnActiveMessage() {
    FlipEditFlag(*m_pEntry, kActive);
}

void CEditMessageDialog::OnEveryDay() {
    if (FlipEditFlag(*m_pEntry, kEveryDay) == FlagRefresh::DateFields)
        UpdateDateFields();
}

void CEditMessageDialog::ReadField(QWidget* field) {
    // The field's own line breaks become the stored ones on both sides of the comparison with what it showed, so
    // that a text left as it was shown compares equal however it is stored.
    if (field == m_ctlText)
        ReadEditField(*m_pEntry, kText, StoredTextFromField(FieldText(m_ctlText)), m_shownText);
    else if (auto* line = qobject_cast<QLineEdit*>(field))
        ReadEditField(*m_pEntry, ControlId(line), line->text().toStdString(), {});
}

bool CEditMessageDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut)
        ReadField(qobject_cast<QWidget*>(watched));
    if (watched == m_ctlName && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        PasteIntoName();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CEditMessageDialog::PasteIntoName() {
    // The paste is cut to what fits before it goes in: a line field forgets its undo steps when its validator has
    // to cut what it was given, and a person expects to undo a paste that was cut like any other.
    QString pasted = QGuiApplication::clipboard()->text();
    for (const QChar lineEnd :
         {QChar(u'\r'), QChar(u'\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
        pasted.remove(lineEnd);
    if (pasted.isEmpty())
        return;
    QString kept = m_ctlName->text();
    if (m_ctlName->hasSelectedText())
        kept.remove(m_ctlName->selectionStart(), m_ctlName->selectedText().size());
    const std::size_t keptBytes = std::size_t(kept.toUtf8().size());
    const QByteArray utf8 = pasted.toUtf8();
    const std::size_t fits = FittingInsertion(std::string_view(utf8.constData(), std::size_t(utf8.size())), keptBytes,
                                              sizeof m_pEntry->m_szName);
    if (fits > 0)
        m_ctlName->insert(QString::fromUtf8(utf8.constData(), qsizetype(fits)));
    if (fits < std::size_t(utf8.size()))
        m_refusalBeep();
}

void CEditMessageDialog::done(int result) {
    // Enter and Escape close the dialog without moving the focus; what was typed last still counts.
    if (QWidget* focused = focusWidget())
        ReadField(focused);
    QDialog::done(result);
}
