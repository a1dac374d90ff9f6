#include "Placement.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace zelmar {

namespace {

QMargins frameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return { client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom() };
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

void place(QWidget& dialog, const QWidget& owner, const QMargins& frame)
{
    const QScreen* screen = owner.screen();
    const QPoint corner = centredFramePos(
        owner.frameGeometry(), dialog.size().grownBy(frame), screen ? screen->availableGeometry() : QRect());
    // The client area goes inside the frame; setGeometry places the client
    // whether or not the frame is known yet.
    dialog.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), dialog.size()));
}

// A window manager may frame a dialog unlike its owner (a fixed dialog has no
// resize handle, for one). It frames the dialog before the dialog is first
// painted (or moved into its frame); there the real frame is known, and the
// dialog is centred again if the likeness was wrong. Once only: later moves
// are the user's.
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
        if (event->type() != QEvent::Move && event->type() != QEvent::Paint && event->type() != QEvent::Hide)
            return false;
        auto& dialog = static_cast<QWidget&>(*watched);
        dialog.removeEventFilter(this);
        deleteLater();
        const QMargins frame = frameMargins(dialog);
        if (event->type() != QEvent::Hide && m_owner && !frame.isNull() && frame != m_guessed)
            place(dialog, *m_owner, frame);
        return false;
    }

private:
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
    if (!owner || !owner->isVisible())
        return;
    const QMargins own = frameMargins(dialog);
    const QMargins frame = own.isNull() ? frameMargins(*owner) : own;
    place(dialog, *owner, frame);
    if (own.isNull() && !frame.isNull())
        new FramedPlacement(dialog, *owner, frame);
}

} // namespace zelmar
