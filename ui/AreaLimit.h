#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;

// A multi-line field without vertical scrolling takes no more text than its area shows: an edit (typed, pasted,
// dropped) after which the text would need more lines than fit is undone at once. A text set by the program is
// taken whole, and while it does not fit, edits that do not make it taller are still taken, so it can be shortened.
class AreaLimit : public QObject {
    Q_OBJECT
public:
    explicit AreaLimit(QPlainTextEdit* edit);
    // Puts a text in as the program's own: taken whole, even where it is taller than the field.
    void SetText(const QString& text);
    // An edit after which keeps answers false for the text is refused too, unless it shortens the text: the
    // field then never shows more than is stored.
    void SetStoredLimit(std::function<bool(const QString&)> keeps) { m_keeps = std::move(keeps); }

private:
    struct Change {
        int position = 0;
        int removed = 0;
        int added = 0;
    };

    QString CurrentText() const;
    void Check();

    QPlainTextEdit* m_edit;
    std::function<bool(const QString&)> m_keeps;
    QString m_accepted;
    Change m_change;
    bool m_reverting = false;
    bool m_settingText = false;
};

// How tall a multi-line field's text stands once wrapped in the field, top margin included.
int TextAreaHeight(const QPlainTextEdit* edit, const QString& text);
// Puts a text into a multi-line field as the program's own (see AreaLimit::SetText).
void SetFieldText(QPlainTextEdit* edit, const QString& text);
