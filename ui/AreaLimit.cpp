#include "AreaLimit.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace {
// Characters the two texts share at their start, up to limit, never ending inside a surrogate pair.
qsizetype CommonPrefix(const QString& a, const QString& b, qsizetype limit) {
    const qsizetype shorter = std::min({a.size(), b.size(), limit});
    qsizetype n = 0;
    while (n < shorter && a.at(n) == b.at(n))
        ++n;
    while (n > 0 && n < b.size() && b.at(n).isLowSurrogate())
        --n;
    return n;
}
} // namespace

AreaLimit::AreaLimit(QPlainTextEdit* edit) : QObject(edit), m_edit(edit), m_beep([] { QApplication::beep(); }) {
    QTextDocument* document = edit->document();
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { m_editEnd = position + added; });
    connect(document, &QTextDocument::contentsChanged, this, &AreaLimit::Check);
}

void AreaLimit::SetText(const QString& text) {
    m_settingText = true;
    m_edit->setPlainText(text);
    m_settingText = false;
    m_accepted = CurrentText();
}

QString AreaLimit::CurrentText() const {
    // The raw text keeps no-break spaces, which the plain text would turn into blanks.
    QString text = m_edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

AreaLimit::Fit AreaLimit::FitToArea(const Fit& wanted, int room) const {
    const QString& text = wanted.text;
    const qsizetype end = std::clamp(wanted.editEnd, qsizetype(0), text.size());
    const QString tail = text.mid(end);
    const qsizetype start =
        CommonPrefix(m_accepted, text, std::min(end, m_accepted.size() - std::min(m_accepted.size(), tail.size())));
    const QString head = text.left(start);
    // Lines only grow as text is added, so the part that shows is found by halving.
    qsizetype fits = 0;
    qsizetype tooMany = end - start + 1;
    while (tooMany - fits > 1) {
        const qsizetype middle = fits + (tooMany - fits) / 2;
        if (TextAreaHeight(m_edit, head + text.mid(start, middle) + tail) <= room)
            fits = middle;
        else
            tooMany = middle;
    }
    if (fits > 0 && start + fits < text.size() && text.at(start + fits).isLowSurrogate())
        --fits;
    return {head + text.mid(start, fits) + tail, start + fits, false};
}

void AreaLimit::Check() {
    if (m_reverting)
        return;
    const QString text = CurrentText();
    if (m_settingText || text == m_accepted) {
        m_accepted = text;
        return;
    }
    Fit fit = m_fit ? m_fit(m_accepted, text, m_editEnd) : Fit{text, m_editEnd, true};
    const int room = std::max(m_edit->contentsRect().height(), TextAreaHeight(m_edit, m_accepted));
    if (TextAreaHeight(m_edit, fit.text) > room)
        fit = FitToArea(fit, room);
    m_accepted = fit.text;
    if (fit.text != text) {
        // What was refused is the end of the edit's new text: one stretch, taken out as part of the edit's own
        // undo step, so that undo skips both.
        const qsizetype from = std::min(fit.editEnd, text.size());
        const qsizetype to = from + (text.size() - fit.text.size());
        m_reverting = true;
        QTextCursor cursor(m_edit->document());
        cursor.joinPreviousEditBlock();
        cursor.setPosition(int(from));
        cursor.setPosition(int(std::min(to, text.size())), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.endEditBlock();
        m_reverting = false;
        if (CurrentText() != m_accepted) {
            // The edit was not the one stretch the cursor could take out; put the kept text in whole.
            m_settingText = true;
            m_edit->setPlainText(m_accepted);
            m_settingText = false;
        }
        QTextCursor place = m_edit->textCursor();
        place.setPosition(int(std::min(fit.editEnd, m_accepted.size())));
        m_edit->setTextCursor(place);
    }
    if (!fit.whole && m_beep)
        m_beep();
}

int TextAreaHeight(const QPlainTextEdit* edit, const QString& text) {
    const QTextDocument* document = edit->document();
    const qreal margin = document->documentMargin();
    const qreal width = edit->contentsRect().width() - 2 * margin;
    qreal height = margin;
    // Laid out as the field lays out its blocks: one layout per line of text, leading included.
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, edit->font());
        layout.setTextOption(document->defaultTextOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            height += line.height();
        }
        layout.endLayout();
    }
    return qCeil(height);
}

void SetFieldText(QPlainTextEdit* edit, const QString& text) {
    if (auto* limit = edit->findChild<AreaLimit*>(QString(), Qt::FindDirectChildrenOnly))
        limit->SetText(text);
    else
        edit->setPlainText(text);
}
