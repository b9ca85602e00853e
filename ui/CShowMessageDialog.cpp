#include "CShowMessageDialog.h"

#include "ScheduleText.h"
#include "WindowCentering.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBoundaryFinder>

namespace {
// The longest texts the two single-line controls can be given, which the window's face must leave room for: the
// dated and every-day sentences with a two-digit repeat, and the clock.
std::vector<ReservedText> LongestLines() {
    MessageEntry dated{};
    dated.m_nDay = 28;
    dated.m_nMonth = 12;
    dated.m_nYear = 2088;
    dated.m_nHour = 23;
    dated.m_nMinute = 59;
    dated.m_nRepeatMinutes = 59;
    MessageEntry everyDay = dated;
    everyDay.m_bEveryDay = 1;
    return {
        {ShowIds::kSchedule, QString::fromStdString(FormatScheduleLine(dated))},
        {ShowIds::kSchedule, QString::fromStdString(FormatScheduleLine(everyDay))},
        {ShowIds::kClock, QString::fromStdString(FormatClockLine(0))
                   .replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("8"))},
    };
}
// A word wider than the field (an address, say) cannot wrap: it would widen the text past the field, cut it off
// and move the centre of every other line. Such a word gets a chance to break after each of its characters; the
// zero-width space that marks it is invisible.
QString BreakOverlongWords(const QString& text, const QFontMetrics& metrics, int width) {
    static const QRegularExpression word(QStringLiteral("\\S+"));
    QString result;
    qsizetype last = 0;
    for (auto matches = word.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        result += text.mid(last, match.capturedStart() - last);
        const QString found = match.captured();
        if (metrics.horizontalAdvance(found) <= width) {
            result += found;
        } else {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, found);
            qsizetype start = 0;
            for (qsizetype next = characters.toNextBoundary(); next > 0; next = characters.toNextBoundary()) {
                result += found.mid(start, next - start);
                if (next < found.size())
                    result += QChar(0x200B);
                start = next;
            }
        }
        last = match.capturedEnd();
    }
    result += text.mid(last);
    return result;
}
// The field that holds a message text taller than itself: a stop in the tab order only then, and one that shows
// when it has the focus, which the plain scroll area would not.
class ScrollingTextField : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    bool event(QEvent* event) override {
        const bool handled = QScrollArea::event(event);
        if (event->type() == QEvent::Paint && hasFocus()) {
            // Drawn on the frame around the text; the viewport over the inside keeps the text as it is.
            QPainter painter(this);
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect();
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
        return handled;
    }
    void focusInEvent(QFocusEvent* event) override {
        QScrollArea::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QScrollArea::focusOutEvent(event);
        update();
    }
};
} // namespace

QString TextForDisplay(const char* storedText) {
    QString text = QString::fromUtf8(storedText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

CShowMessageDialog::CShowMessageDialog(const MessageEntry* entry, Clock clock, QWidget* parent,
                                       MillisecondClock keyClock)
    : QDialog(parent), m_built(BuildDialog(this, ShowMessageTemplate(), LongestLines())), m_pEntry(entry),
      m_clock(std::move(clock)), m_keyGuard(std::move(keyClock)) {
    if (!m_clock)
        m_clock = SystemClock();
    m_ctlClock = m_built.Get<QLabel>(ShowIds::kClock);
    m_ctlSchedule = m_built.Get<QLabel>(ShowIds::kSchedule);
    m_ctlText = m_built.Get<QLabel>(ShowIds::kText);
    // A text longer than the field can show (only a hand-edited store holds one) scrolls instead of being cut.
    auto* textArea = new ScrollingTextField(this);
    textArea->setGeometry(m_ctlText->geometry());
    textArea->setFrameStyle(m_ctlText->frameStyle());
    m_ctlText->setFrameStyle(QFrame::NoFrame);
    textArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textArea->setWidgetResizable(true);
    textArea->setFocusPolicy(Qt::NoFocus);
    textArea->setWidget(m_ctlText);
    textArea->viewport()->setAutoFillBackground(false);
    m_ctlText->setAutoFillBackground(false);
    m_textArea = textArea;
    setModal(true);
    connect(m_built.Get<QPushButton>(ShowIds::kOk), &QPushButton::clicked, this, &QDialog::accept);
    m_clockTimer.setInterval(CLOCK_PERIOD_MS);
    connect(&m_clockTimer, &QTimer::timeout, this, &CShowMessageDialog::OnTimer);
    connect(this, &QDialog::finished, &m_clockTimer, &QTimer::stop);
    // Keys go to whichever control has the focus, and Enter and Escape travel up to the dialog from there; the
    // guard must see each key before any of them does.
    qApp->installEventFilter(this);
}

CShowMessageDialog::~CShowMessageDialog() {
    qApp->removeEventFilter(this);
}

bool CShowMessageDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const bool held = type == QEvent::KeyPress ? !m_keyGuard.LetKeyThrough() : m_keyGuard.Holding();
    if (held)
        event->accept();
    return held;
}

void CShowMessageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_keyGuard.Appeared();
}

void CShowMessageDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Keys reach the window only once it is active, which a busy window manager may make it well after it was
    // shown, while the person is still typing.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_keyGuard.Appeared();
}

void CShowMessageDialog::closeEvent(QCloseEvent* event) {
    // On X, Alt+F4 never reaches the window as a key: the window manager takes it and asks the window to close,
    // just as it does for the close box. A request from the window system is therefore held like a key.
    if (event->spontaneous() && !m_keyGuard.LetKeyThrough()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

int CShowMessageDialog::DoModal() {
    OnInitDialog();
    return exec();
}

void CShowMessageDialog::OnInitDialog() {
    CenterWindow(this, parentWidget());
    setWindowTitle(LiteralWindowTitle(QString::fromUtf8(m_pEntry->m_szName)));
    const int room = m_textArea->width() - 2 * m_textArea->frameWidth() -
                     m_textArea->verticalScrollBar()->sizeHint().width() - 2 * m_ctlText->margin();
    m_ctlText->setText(BreakOverlongWords(TextForDisplay(m_pEntry->m_szText), m_ctlText->fontMetrics(), room));
    // Only a text taller than its field joins the tab order, so that the keyboard can scroll it too.
    const int fieldHeight = m_textArea->height() - 2 * m_textArea->frameWidth();
    m_textArea->setFocusPolicy(m_ctlText->heightForWidth(room) > fieldHeight ? Qt::TabFocus : Qt::NoFocus);
    // A screen reader names the stop after what it holds.
    m_textArea->setAccessibleName(TextForDisplay(m_pEntry->m_szText));
    SetControlText(m_ctlSchedule, QString::fromStdString(FormatScheduleLine(*m_pEntry)));
    OnTimer();
    m_clockTimer.stop();
    m_clockTimer.start();
    m_built.Get<QPushButton>(ShowIds::kOk)->setFocus();
}

void CShowMessageDialog::OnTimer() {
    SetControlText(m_ctlClock, QString::fromStdString(FormatClockLine(m_clock())));
}
