#pragma once
// Where the program's dialogs, notices and questions appear: centred over the
// window that opens them, as the user sees both, that is frame included when
// a window manager draws one, and kept on the screen so that a modal dialog
// can always be reached and closed.
//
// A dialog's frame is not known before the window manager has framed it; the
// frame of the window it opens over is taken as its likeness (same title bar
// and borders). Without a window manager both frames are empty.

#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace zelmar {

// Top left corner of a frame of frameSize centred over ownerFrame and moved,
// where needed, into screen (an empty screen rectangle limits nothing).
QPoint centredFramePos(const QRect& ownerFrame, const QSize& frameSize, const QRect& screen);

// Places a dialog about to be shown over the window of its parent widget,
// also over one not yet shown, where that will appear. Called from the
// dialog's showEvent, after Qt's own placement.
void centreOverOwner(QWidget& dialog);

} // namespace zelmar
