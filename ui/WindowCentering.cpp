#include "WindowCentering.h"

#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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
bool OwnerUsable(const QWidget* owner) {
    return owner && owner->isVisible() && !owner->isMinimized();
}

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
