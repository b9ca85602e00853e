#include "DialogBuilder.h"

#include "AppIcon.h"
#include "AreaLimit.h"
#include "FittingSize.h"
#include "GroupArrowKeys.h"
#include "SingleLineValidator.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVariant>

#include <cstdlib>

namespace {
constexpr const char* kControlIdProperty = "controlId";
// Where a group box's frame starts below its top edge, in font heights: on the middle of the title's line.
constexpr qreal kFrameTop = 0.55;

// A group box without a title is only its frame, drawn here as the style sheet below draws the frame of a titled
// one. The style sheet engine costs about a megabyte the first time any widget uses it, and the main window's
// boxes have no titles.
class UntitledGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        // The style sheet measures its em in the application's font, not the widget's.
        const int top = qRound(kFrameTop * QFontMetrics(QApplication::font()).height());
        painter.drawRoundedRect(rect().adjusted(0, top, -1, -1), 2, 2);
    }
};

QWidget* MakeButton(const ControlTemplate& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    if (control.style & Style::GroupBox) {
        if (text.isEmpty()) {
            auto* box = new UntitledGroupBox(parent);
            box->setFocusPolicy(Qt::NoFocus);
            return box;
        }
        auto* box = new QGroupBox(text, parent);
        box->setFocusPolicy(Qt::NoFocus);
        // The templates place a group box so that its title sits on the top edge of its frame, as dialog group
        // boxes draw it; styles that put the title above the frame would push the frame into what it holds.
        box->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.55em; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0; }"));
        return box;
    }
    if (control.style & Style::AutoCheckBox)
        return new QCheckBox(text, parent);
    auto* button = new QPushButton(text, parent);
    button->setDefault((control.style & Style::DefPushButton) != 0);
    return button;
}

QWidget* MakeStatic(const ControlTemplate& control, QWidget* parent) {
    auto* label = new QLabel(parent);
    if (control.style & Style::Icon) {
        label->setPixmap(AppIcon().pixmap(32, 32));
        return label;
    }
    label->setText(QString::fromUtf8(control.text));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(((control.style & Style::Center) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    if (control.style & Style::Sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent) {
    if (control.style & Style::Multiline) {
        auto* edit = new QPlainTextEdit(parent);
        new AreaLimit(edit);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The text field takes Enter as a line break; Tab moves on to the next field.
        edit->setTabChangesFocus(true);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new SingleLineValidator(edit));
    return edit;
}

QWidget* MakeListBox(const ControlTemplate& control, QWidget* parent) {
    auto* list = new QListView(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy((control.style & Style::VScroll) ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
    list->setFrameShape((control.style & Style::Border) ? QFrame::StyledPanel : QFrame::NoFrame);
    list->setUniformItemSizes(true);
    return list;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
    switch (control.controlClass) {
    case ControlClass::Button:
        return MakeButton(control, parent);
    case ControlClass::Static:
        return MakeStatic(control, parent);
    case ControlClass::Edit:
        return MakeEdit(control, parent);
    case ControlClass::ListBox:
        return MakeListBox(control, parent);
    }
    return nullptr;
}

constexpr const char* kSingleLineProperty = "singleLineText";
constexpr int kSmallestFace = 8; // pixels: below this a face stops being readable

// The width a control has for its text, once the parts the style draws around the text are taken off.
int TextRoom(QWidget* widget) {
    QStyle* style = widget->style();
    const int width = widget->width();
    if (qobject_cast<QCheckBox*>(widget))
        return width - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget) - 2;
    // A button's label may run up to just inside its frame; the style's margin only pads the label's size hint.
    if (qobject_cast<QPushButton*>(widget))
        return width - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget) - 2;
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->contentsRect().width() - 2 * label->margin();
    return width;
}

QString ControlText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return {};
}

bool Fits(const QFont& font, const QString& text, int room) {
    return QFontMetrics(font).horizontalAdvance(text) <= room;
}

// The largest size of face, down to the smallest readable one, at which fits holds; face itself when it already
// does, so that a window whose texts fit keeps its face as the template set it, in points.
template <class Fits> QFont LargestFittingFace(const QFont& face, Fits&& fits) {
    const int start = QFontInfo(face).pixelSize();
    const auto ofSize = [&](int pixelSize) {
        QFont sized = face;
        if (pixelSize != start)
            sized.setPixelSize(pixelSize);
        return sized;
    };
    return ofSize(LargestFittingSize(start, kSmallestFace, [&](int size) { return fits(ofSize(size)); }));
}

// A control holds one line of text when its rectangle has no room for a second line of the template's face.
bool HoldsOneLine(const ControlTemplate& control, DialogBaseUnits units, const QFont& font) {
    if ((control.style & (Style::GroupBox | Style::Icon)) || control.controlClass == ControlClass::Edit ||
        control.controlClass == ControlClass::ListBox)
        return false;
    return MulDivRound(control.cy, units.y, 8) < 2 * QFontMetrics(font).height();
}

// The one face size of a window: the largest, up to the template's, at which every single-line text the window
// will hold fits its control, so that neighbouring texts never come out in different sizes.
QFont WindowFace(const QFont& templateFace, const std::vector<std::pair<QWidget*, QString>>& texts) {
    return LargestFittingFace(templateFace, [&texts](const QFont& candidate) {
        for (const auto& [widget, text] : texts) {
            if (!Fits(candidate, text, TextRoom(widget)))
                return false;
        }
        return true;
    });
}

Qt::WindowFlags FlagsFor(unsigned windowStyle) {
    // A window with a minimize box is a main window, which window managers list and let the user minimize.
    Qt::WindowFlags flags = (windowStyle & WindowStyle::MinimizeBox) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if (windowStyle & WindowStyle::Caption)
        flags |= Qt::WindowTitleHint;
    if (windowStyle & WindowStyle::SysMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (windowStyle & WindowStyle::MinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (windowStyle & WindowStyle::SysModal)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}
} // namespace

int MulDivRound(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const long long rounded = ((product < 0) != (c < 0)) ? (product - half) / c : (product + half) / c;
    return static_cast<int>(rounded);
}

DialogBaseUnits BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight) {
    return {(widthOf52Letters / 26 + 1) / 2, fontHeight};
}

DialogBaseUnits BaseUnitsForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnitsFromMetrics(width, metrics.height());
}

QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits units) {
    const int left = MulDivRound(dialogUnits.x(), units.x, 4);
    const int top = MulDivRound(dialogUnits.y(), units.y, 8);
    const int right = MulDivRound(dialogUnits.x() + dialogUnits.width(), units.x, 4);
    const int bottom = MulDivRound(dialogUnits.y() + dialogUnits.height(), units.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogUnitsToPixels(const QSize& dialogUnits, DialogBaseUnits units) {
    return {MulDivRound(dialogUnits.width(), units.x, 4), MulDivRound(dialogUnits.height(), units.y, 8)};
}

QFont DialogFont(const DialogTemplate& tpl) {
    // Where the templates' face is missing, a face with Arial's metrics is the closest stand-in: the default sans
    // face of most Linux systems runs wide enough to clip the longer labels.
    const QString face = QString::fromUtf8(tpl.fontFace);
    if (QFont::substitutes(face).isEmpty())
        QFont::insertSubstitutions(face, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tpl.pointSize);
    return font;
}

QString LiteralWindowTitle(const QString& text) {
    QString title = text;
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title;
}

void FitText(QWidget* control) {
    if (!control->property(kSingleLineProperty).toBool())
        return;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setWordWrap(false);
    // Measured from the window's face each time: a shorter text than the last one needs no smaller size.
    const QString text = ControlText(control);
    const int room = TextRoom(control);
    const QFont font = LargestFittingFace(control->window()->font(),
                                          [&](const QFont& candidate) { return Fits(candidate, text, room); });
    // The clock is set twice a second; an unchanged face is not set again.
    if (font != control->font())
        control->setFont(font);
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    FitText(control);
}

int ControlId(const QWidget* control) { return control->property(kControlIdProperty).toInt(); }

BuiltDialog BuildDialog(QDialog* dialog, const DialogTemplate& tpl, const std::vector<ReservedText>& reserved) {
    BuiltDialog built;
    dialog->setWindowTitle(QString::fromUtf8(tpl.title));
    dialog->setWindowFlags(FlagsFor(tpl.windowStyle));
    dialog->setWindowIcon(AppIcon());
    const QFont font = DialogFont(tpl);
    dialog->setFont(font);
    built.m_units = BaseUnitsForFont(font);
    dialog->setFixedSize(DialogUnitsToPixels(QSize(tpl.cx, tpl.cy), built.m_units));

    QWidget* previousTabStop = nullptr;
    std::vector<QWidget*> groupBoxes;
    for (const ControlTemplate& control : tpl.controls) {
        QWidget* widget = MakeControl(control, dialog);
        widget->setProperty(kControlIdProperty, control.id);
        widget->setObjectName(control.id == DialogIds::kNone ? QStringLiteral("static")
                                                       : QStringLiteral("control%1").arg(control.id));
        widget->setGeometry(DialogUnitsToPixels(QRect(control.x, control.y, control.cx, control.cy), built.m_units));
        // An icon static takes the size of its icon, where the template placed its corner: the rectangle is only
        // a position, and the icon would be cut by it at the usual font.
        if (control.style & Style::Icon) {
            if (auto* label = qobject_cast<QLabel*>(widget))
                label->resize(label->pixmap().deviceIndependentSize().toSize());
        }
        if (HoldsOneLine(control, built.m_units, font))
            widget->setProperty(kSingleLineProperty, true);
        if (control.text[0] != '\0')
            widget->setAccessibleName(QString::fromUtf8(control.text));
        widget->setVisible((control.style & Style::Visible) != 0);
        if (control.style & Style::TabStop) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        } else if (control.controlClass == ControlClass::Button && !(control.style & Style::GroupBox)) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        if (control.style & Style::GroupBox)
            groupBoxes.push_back(widget);
        if (control.id != DialogIds::kNone)
            built.m_byId.insert(control.id, widget);
        built.m_controls.push_back(widget);
    }
    for (QWidget* box : groupBoxes)
        box->lower();
    for (const AccessibleNameRow& row : tpl.accessibleNames) {
        if (QWidget* widget = built.Control(row.id))
            widget->setAccessibleName(QString::fromUtf8(row.name));
    }

    std::vector<bool> groupStarts;
    for (std::size_t i = 0; i < tpl.controls.size(); ++i)
        groupStarts.push_back(i == 0 || (tpl.controls[i].style & Style::Group) != 0);
    auto* arrows = new GroupArrowKeys(dialog, built.m_controls, std::move(groupStarts));
    for (QWidget* widget : built.m_controls) {
        if (qobject_cast<QAbstractButton*>(widget))
            widget->installEventFilter(arrows);
    }

    std::vector<std::pair<QWidget*, QString>> texts;
    for (QWidget* widget : built.m_controls) {
        if (widget->property(kSingleLineProperty).toBool() && !ControlText(widget).isEmpty())
            texts.emplace_back(widget, ControlText(widget));
    }
    for (const ReservedText& text : reserved) {
        if (QWidget* widget = built.Control(text.id))
            texts.emplace_back(widget, text.text);
    }
    const QFont face = WindowFace(font, texts);
    if (face != font) {
        dialog->setFont(face);
        // A widget with a style sheet keeps the font it was polished with.
        for (QWidget* box : groupBoxes)
            box->setFont(face);
    }
    for (QWidget* widget : built.m_controls)
        FitText(widget);
    return built;
}
