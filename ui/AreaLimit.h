#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;

// A multi-line field without vertical scrolling takes no more text than its area shows: of an edit (typed, pasted,
// dropped) after which the text would need more lines than fit, only as much of the new text goes in as shows, and
// the rest is refused with a beep, as a standard edit field does at its limit. A text set by the program is taken
// whole, and while it does not fit, edits that do not make it taller are still taken, so it can be shortened.
class AreaLimit : public QObject {
    Q_OBJECT
public:
    // What a field keeps of an edit: the text, where what the edit put in ends, and whether it went in whole.
    struct Fit {
        QString text;
        qsizetype editEnd = 0;
        bool whole = true;
    };

    explicit AreaLimit(QPlainTextEdit* edit);
    // Puts a text in as the program's own: taken whole, even where it is taller than the field.
    void SetText(const QString& text);
    // Decides what the field keeps of an edit from the text before it and after it, and where the edit's new text
    // ends in the latter, before the area is considered: the field then never shows more than is stored.
    void SetStoredLimit(std::function<Fit(const QString& before, const QString& after, qsizetype editEnd)> fit) {
        m_fit = std::move(fit);
    }
    void SetRefusalBeep(std::function<void()> beep) { m_beep = std::move(beep); }

private:
    QString CurrentText() const;
    void Check();
    // The largest part of the new text of an edit from m_accepted that lets the text show whole.
    Fit FitToArea(const Fit& wanted, int room) const;

    QPlainTextEdit* m_edit;
    std::function<Fit(const QString&, const QString&, qsizetype)> m_fit;
    std::function<void()> m_beep;
    QString m_accepted;
    qsizetype m_editEnd = 0; // where the last change's new text ends
    bool m_reverting = false;
    bool m_settingText = false;
};

// How tall a multi-line field's text stands once wrapped in the field, top margin included.
int TextAreaHeight(const QPlainTextEdit* edit, const QString& text);
// Puts a text into a multi-line field as the program's own (see AreaLimit::SetText).
void SetFieldText(QPlainTextEdit* edit, const QString& text);
