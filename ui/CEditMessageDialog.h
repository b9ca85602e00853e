#pragma once

#include "DialogBuilder.h"
#include "MessageEntry.h"

#include <QApplication>
#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class ToolTipGate;

// Edits one message on the caller's working copy. Each field is written into the copy when it loses the focus and
// when the dialog closes; the dialog checks nothing, the caller validates after OK.
class CEditMessageDialog : public QDialog {
    Q_OBJECT
public:
    CEditMessageDialog(MessageEntry* entry, int bTooltips, QWidget* parent);

    // DialogIds::kOk after OK or Enter, DialogIds::kCancel after Cancel, Escape or the close box.
    int DoModal();
    void OnInitDialog();
    void UpdateDateFields();

    QWidget* Control(int id) const { return m_built.Control(id); }
    bool TooltipsActive() const;

    void done(int result) override;
    // The sound of a name or text edit refused at the field's limit; the system's beep unless tests count it.
    void SetRefusalBeep(std::function<void()> beep) { m_refusalBeep = std::move(beep); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadField(QWidget* field);
    void PasteIntoName();
    void OnActiveMessage();
    void OnEveryDay();

    BuiltDialog m_built;
    QLabel* m_ctlEveryDayNote = nullptr;
    QCheckBox* m_ctlEveryDay = nullptr;
    QCheckBox* m_ctlActive = nullptr;
    QPlainTextEdit* m_ctlText = nullptr;
    QLineEdit* m_ctlName = nullptr;
    ToolTipGate* m_ctlToolTip = nullptr;
    int m_bTooltips;
    MessageEntry* m_pEntry;
    std::string m_shownText; // the text field as it opened, as it would be stored
    std::function<void()> m_refusalBeep = [] { QApplication::beep(); };
};

// A text from the multi-line field as it is stored: every line break as carriage return and line feed.
std::string StoredTextFromField(const QString& fieldText);
