#include "DialogBuilder.h"

#include "AppIcon.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>
#include <QValidator>
#include <QVariant>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr const char* kControlIdProperty = "controlId";

QWidget* MakeButton(const ControlTemplate& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    if (control.style & Style::GroupBox) {
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

// A single-line field holds one line: line ends that arrive typed, pasted, dropped or set are taken out, so a
// number copied with its line end stays the number and a name cannot hide a second line.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            const QChar c = input.at(i);
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator) {
                input.remove(i, 1);
                if (i < pos)
                    --pos;
            }
        }
        return Acceptable;
    }
};

// A multi-line field without vertical scrolling takes no more text than its area shows: an edit (typed, pasted,
// dropped) after which the text would need more lines than fit is undone at once. A text set by the program is
// taken whole, and while it does not fit, edits that do not make it taller are still taken, so it can be shortened.
class AreaLimit : public QObject {
public:
    explicit AreaLimit(QPlainTextEdit* edit) : QObject(edit), m_edit(edit) {
        QTextDocument* document = edit->document();
        connect(document, &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
            m_change = {position, removed, added};
        });
        connect(document, &QTextDocument::contentsChanged, this, &AreaLimit::Check);
    }

    void SetText(const QString& text) {
        m_settingText = true;
        m_edit->setPlainText(text);
        m_settingText = false;
        m_accepted = CurrentText();
    }

private:
    struct Change {
        int position = 0;
        int removed = 0;
        int added = 0;
    };

    QString CurrentText() const {
        // The raw text keeps no-break spaces, which the plain text would turn into blanks.
        QString text = m_edit->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        return text;
    }

    void Check() {
        if (m_reverting)
            return;
        const QString text = CurrentText();
        if (m_settingText || text == m_accepted) {
            m_accepted = text;
            return;
        }
        const int room = m_edit->contentsRect().height();
        const int height = TextAreaHeight(m_edit, text);
        if (height <= room || height <= TextAreaHeight(m_edit, m_accepted)) {
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

    QPlainTextEdit* m_edit;
    QString m_accepted;
    Change m_change;
    bool m_reverting = false;
    bool m_settingText = false;
};

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
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
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
    QFont face = templateFace;
    int pixelSize = QFontInfo(face).pixelSize();
    const auto allFit = [&texts](const QFont& candidate) {
        for (const auto& [widget, text] : texts) {
            if (!Fits(candidate, text, TextRoom(widget)))
                return false;
        }
        return true;
    };
    while (!allFit(face) && pixelSize > kSmallestFace)
        face.setPixelSize(--pixelSize);
    return face;
}

// Left and Up, Right and Down move the focus to the previous and next control of the template group the focused
// control belongs to, wrapping within the group and passing over hidden, disabled and unfocusable controls, as the
// dialog manager of the templates' platform does. Only buttons and check boxes hand their arrows over; fields and
// the list use arrows themselves.
class GroupArrowKeys : public QObject {
public:
    GroupArrowKeys(QObject* parent, std::vector<QWidget*> controls, std::vector<bool> groupStarts)
        : QObject(parent), m_controls(std::move(controls)), m_groupStarts(std::move(groupStarts)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        int step = 0;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            step = -1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = 1;
            break;
        default:
            return false;
        }
        const auto found = std::find(m_controls.begin(), m_controls.end(), watched);
        if (found == m_controls.end())
            return false;
        const int index = int(found - m_controls.begin());
        int first = index;
        while (first > 0 && !m_groupStarts[first])
            --first;
        int last = index;
        while (last + 1 < int(m_controls.size()) && !m_groupStarts[last + 1])
            ++last;
        const int size = last - first + 1;
        for (int offset = 1; offset < size; ++offset) {
            QWidget* candidate = m_controls[first + ((index - first + step * offset) % size + size) % size];
            if (candidate->isVisible() && candidate->isEnabled() && candidate->focusPolicy() != Qt::NoFocus) {
                candidate->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        // Alone in its group: the focus stays, rather than leaving the group as Qt's buttons would let it.
        return true;
    }

private:
    std::vector<QWidget*> m_controls;
    std::vector<bool> m_groupStarts;
};

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
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QString::fromUtf8(tpl.fontFace));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(tpl.pointSize);
    return font;
}

QPoint CenteredTopLeft(const QSize& frameSize, const std::optional<QRect>& ownerFrame, const QRect& workArea) {
    const QPoint centre = ownerFrame ? ownerFrame->center() : workArea.center();
    QPoint topLeft(centre.x() - frameSize.width() / 2, centre.y() - frameSize.height() / 2);
    if (topLeft.x() + frameSize.width() > workArea.right() + 1)
        topLeft.setX(workArea.right() + 1 - frameSize.width());
    if (topLeft.y() + frameSize.height() > workArea.bottom() + 1)
        topLeft.setY(workArea.bottom() + 1 - frameSize.height());
    topLeft.setX(std::max(topLeft.x(), workArea.left()));
    topLeft.setY(std::max(topLeft.y(), workArea.top()));
    return topLeft;
}

namespace {
bool OwnerUsable(const QWidget* owner) { return owner && owner->isVisible() && !owner->isMinimized(); }

// Where the frame goes, for a frame of the given size.
void PlaceFrame(QWidget* dialog, QWidget* owner, const QSize& frameSize) {
    const bool ownerUsable = OwnerUsable(owner);
    QScreen* screen = ownerUsable ? owner->screen() : dialog->screen();
    if (!screen)
        return;
    std::optional<QRect> ownerFrame;
    if (ownerUsable)
        ownerFrame = owner->frameGeometry();
    // move() places a window's frame, so the frame's corner is what is computed.
    dialog->move(CenteredTopLeft(frameSize, ownerFrame, screen->availableGeometry()));
}

// A window's frame is known only once the window manager has framed it, after the window is shown. Until then the
// window is placed for an estimated frame; when it is first exposed it is placed again for its real one.
class FrameCentering : public QObject {
public:
    FrameCentering(QWidget* dialog, QWidget* owner) : QObject(dialog), m_dialog(dialog), m_owner(owner) {
        setObjectName(QStringLiteral("frameCentering"));
        dialog->installEventFilter(this);
        WatchWindow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_dialog && event->type() == QEvent::Show) {
            WatchWindow();
        } else if (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed()) {
            // The owner's frame may have been as little known as this one's (an owner just restored from its
            // icon), so both are measured again.
            PlaceFrame(m_dialog, m_owner, m_dialog->frameGeometry().size());
            deleteLater();
        }
        return false;
    }

private:
    void WatchWindow() {
        if (m_window || !m_dialog->windowHandle())
            return;
        m_window = m_dialog->windowHandle();
        m_window->installEventFilter(this);
    }

    QWidget* m_dialog;
    QPointer<QWidget> m_owner;
    QPointer<QWindow> m_window;
};
} // namespace

void CenterWindow(QWidget* dialog, QWidget* owner) {
    // Until the window manager has framed the window, the owner's frame is the best guess at its own: dialogs get
    // the same decoration as the main window. A window without a visible owner has nothing to go by.
    QMargins frame;
    if (dialog->isVisible()) {
        frame = dialog->windowHandle() ? dialog->windowHandle()->frameMargins() : QMargins();
    } else if (OwnerUsable(owner) && owner->windowHandle()) {
        frame = owner->windowHandle()->frameMargins();
    }
    const QSize frameSize = dialog->size().grownBy(frame);
    PlaceFrame(dialog, owner, frameSize);
    delete dialog->findChild<QObject*>(QStringLiteral("frameCentering"), Qt::FindDirectChildrenOnly);
    if (!dialog->isVisible())
        new FrameCentering(dialog, owner);
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
    QFont font = control->window()->font();
    int pixelSize = QFontInfo(font).pixelSize();
    while (!Fits(font, text, room) && pixelSize > kSmallestFace)
        font.setPixelSize(--pixelSize);
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
    for (QObject* child : edit->children()) {
        if (auto* limit = dynamic_cast<AreaLimit*>(child)) {
            limit->SetText(text);
            return;
        }
    }
    edit->setPlainText(text);
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
        widget->setObjectName(control.id == IDC_STATIC ? QStringLiteral("static")
                                                       : QStringLiteral("control%1").arg(control.id));
        widget->setGeometry(DialogUnitsToPixels(QRect(control.x, control.y, control.cx, control.cy), built.m_units));
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
        if (control.id != IDC_STATIC)
            built.m_byId.insert(control.id, widget);
        built.m_controls.push_back(widget);
    }
    for (QWidget* box : groupBoxes)
        box->lower();

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
