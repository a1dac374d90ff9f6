#include "ui/Placement.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace zelmar {

namespace {

// The frame as the window system knows it now. QWidget::frameGeometry() keeps
// the frame it saw at the window's last move, which for a dialog just shown
// is before the window manager framed it.
QMargins frameMargins(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QRect frameGeometry(const QWidget& window)
{
    return window.geometry().marginsAdded(frameMargins(window));
}

int centred(int ownerStart, int ownerLength, int length, int screenStart, int screenLength)
{
    int start = ownerStart + (ownerLength - length) / 2;
    if (screenLength > 0) {
        start = std::min(start, screenStart + screenLength - length);
        start = std::max(start, screenStart);
    }
    return start;
}

void place(QWidget& dialog, const QWidget& owner, const QRect& ownerFrame, const QMargins& frame)
{
    const QScreen* screen = owner.screen();
    const QPoint corner = centredFramePos(
        ownerFrame, dialog.size().grownBy(frame), screen ? screen->availableGeometry() : QRect());
    // The client area goes inside the frame; setGeometry places the client
    // whether or not the frame is known yet.
    dialog.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), dialog.size()));
}

// A window manager may frame a dialog unlike its owner (a fixed dialog has no
// resize handle, for one). As soon as the dialog is on the screen and its
// frame is known, it is centred again if the likeness was wrong. Once only:
// later moves are the user's.
class FramedPlacement : public QObject {
public:
    FramedPlacement(QWidget& dialog, const QWidget& owner, const QMargins& guessed)
        : QObject(&dialog)
        , m_owner(&owner)
        , m_guessed(guessed)
    {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto& dialog = static_cast<QWidget&>(*watched);
        if (event->type() == QEvent::Hide) {
            finish(dialog);
            return false;
        }
        const QWindow* window = dialog.windowHandle();
        if (!window || !window->isExposed())
            return false;
        const QMargins frame = frameMargins(dialog);
        if (frame.isNull())
            return false;
        finish(dialog);
        if (frame != m_guessed && m_owner)
            place(dialog, *m_owner, frameGeometry(*m_owner), frame);
        return false;
    }

private:
    void finish(QWidget& dialog)
    {
        dialog.removeEventFilter(this);
        deleteLater();
    }

    QPointer<const QWidget> m_owner;
    QMargins m_guessed;
};

} // namespace

QPoint centredFramePos(const QRect& ownerFrame, const QSize& frameSize, const QRect& screen)
{
    return { centred(ownerFrame.x(), ownerFrame.width(), frameSize.width(), screen.x(), screen.width()),
        centred(ownerFrame.y(), ownerFrame.height(), frameSize.height(), screen.y(), screen.height()) };
}

void centreOverOwner(QWidget& dialog)
{
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (!owner)
        return;
    if (!owner->isVisible()) {
        // A report from the window's load step comes before the window is on
        // the screen. It goes where the window will appear: the window keeps
        // its geometry when shown and gets a frame like the dialog's, so the
        // dialog is centred over it client over client.
        place(dialog, *owner, owner->geometry(), QMargins());
        return;
    }
    const QMargins own = frameMargins(dialog);
    const QMargins frame = own.isNull() ? frameMargins(*owner) : own;
    place(dialog, *owner, frameGeometry(*owner), frame);
    if (own.isNull() && !frame.isNull())
        new FramedPlacement(dialog, *owner, frame);
}

} // namespace zelmar
