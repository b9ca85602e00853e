#include "AreaLimit.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

AreaLimit::AreaLimit(QPlainTextEdit* edit) : QObject(edit), m_edit(edit) {
    QTextDocument* document = edit->document();
    connect(document, &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        m_change = {position, removed, added};
    });
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

void AreaLimit::Check() {
    if (m_reverting)
        return;
    const QString text = CurrentText();
    if (m_settingText || text == m_accepted) {
        m_accepted = text;
        return;
    }
    const int room = m_edit->contentsRect().height();
    const int height = TextAreaHeight(m_edit, text);
    const bool kept = !m_keeps || m_keeps(text) || text.size() < m_accepted.size();
    if (kept && (height <= room || height <= TextAreaHeight(m_edit, m_accepted))) {
        m_accepted = text;
        return;
    }
    // Put back what the edit replaced, joined to the edit's own undo step so that undo skips both.
    const Change change = m_change;
    m_reverting = true;
    QTextCursor cursor(m_edit->document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(std::min(change.position, int(text.size())));
    cursor.setPosition(std::min(change.position + change.added, int(text.size())), QTextCursor::KeepAnchor);
    cursor.insertText(m_accepted.mid(change.position, change.removed));
    cursor.endEditBlock();
    m_reverting = false;
    if (CurrentText() != m_accepted) {
        // The change was reported in a way the cursor could not undo; take the last accepted text back whole.
        m_settingText = true;
        m_edit->setPlainText(m_accepted);
        m_settingText = false;
    }
    QTextCursor place = m_edit->textCursor();
    place.setPosition(std::min(change.position + change.removed, int(m_accepted.size())));
    m_edit->setTextCursor(place);
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
