#pragma once

#include "DialogTemplates.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QDialog;
class QWidget;

// The horizontal and vertical base units of a dialog font: a dialog unit is a quarter of the first and an eighth
// of the second.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// a * b / c, rounded half away from zero, as the platform's conversion of dialog units rounds.
int MulDivRound(int a, int b, int c);
// Base units from the width of the 52 letters A-Z, a-z and the font's height.
DialogBaseUnits BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight);
DialogBaseUnits BaseUnitsForFont(const QFont& font);
QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits units);
QSize DialogUnitsToPixels(const QSize& dialogUnits, DialogBaseUnits units);

// The font a template asks for; the family is looked up with a sans-serif fallback.
QFont DialogFont(const DialogTemplate& tpl);

// A text a control will be given while the window runs, which the window's face must leave room for.
struct ReservedText {
    int id;
    QString text;
};

// The widgets made from one template, by id and in template order.
class BuiltDialog {
public:
    QWidget* Control(int id) const { return m_byId.value(id, nullptr); }
    template <typename T> T* Get(int id) const { return qobject_cast<T*>(Control(id)); }
    const std::vector<QWidget*>& Controls() const { return m_controls; }
    DialogBaseUnits Units() const { return m_units; }

private:
    friend BuiltDialog BuildDialog(QDialog* dialog, const DialogTemplate& tpl,
                                   const std::vector<ReservedText>& reserved);
    QHash<int, QWidget*> m_byId;
    std::vector<QWidget*> m_controls;
    DialogBaseUnits m_units;
};

// Gives the dialog its title, font, window flags and fixed size and creates every control of the template as a
// child, placed by its rectangle, with the tab order of the template and the group boxes behind what they frame.
// The window gets one face size, the template's or the largest smaller one at which every single-line text of the
// template and every reserved text fits its control on one line.
BuiltDialog BuildDialog(QDialog* dialog, const DialogTemplate& tpl, const std::vector<ReservedText>& reserved = {});

// The one rule for single-line texts, applied whenever such a text is set: it stays on one line, in the window's
// face, or, should it still not fit, in the largest smaller size that does. Other controls are left alone.
void FitText(QWidget* control);
// Sets a label's or button's text and fits it.
void SetControlText(QWidget* control, const QString& text);

// A window title that shows text exactly: Qt reads "[*]" as the place of its modified marker and shows a doubled
// one as a single literal.
QString LiteralWindowTitle(const QString& text);

// The id a control was built with (DialogIds::kNone for controls without one).
int ControlId(const QWidget* control);
