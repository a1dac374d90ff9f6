#include "ui/MessageBoxes.h"

#include "ui/Placement.h"
#include "ui/UiFont.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

namespace zelmar {

namespace {

// The size of the system's message text, in the program's face.
constexpr qreal MessagePointSize = 10.5;
// Room in a title bar for the window manager's icon and buttons, in pixels.
constexpr int TitleBarButtons = 120;
// Line pitch of a notice that wraps, against the face's own: the Song face
// has no gap between lines of its own, so wrapped lines would touch.
constexpr int LineHeightPercent = 150;

// The text as shown: every character as it stands, blanks and line breaks
// kept, the lines of a wrapped text spaced apart.
QString spacedLines(const QString& text)
{
    return QStringLiteral("<p style=\"white-space:pre-wrap; line-height:%1%\">%2</p>")
        .arg(LineHeightPercent)
        .arg(text.toHtmlEscaped());
}

// A message box in the program's face, centred over the window that shows
// it. Its buttons are named in Chinese by the program itself, so that they
// read right also where Qt's own Chinese texts are not installed, and carry
// their text alone, without the icons a desktop theme gives standard buttons.
// Its title bar asks for a close box only: a notice cannot be minimised away
// from the window it belongs to.
class MessageBox : public QMessageBox {
public:
    MessageBox(const QString& title, const QString& text, StandardButtons buttons, QWidget* parent)
        : QMessageBox(NoIcon, title, spacedLines(text), buttons, parent,
            Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                | Qt::MSWindowsFixedSizeDialogHint)
    {
        setTextFormat(Qt::RichText);
        setFont(songFont(MessagePointSize));
        for (auto [which, caption] : { std::pair { Ok, "确定" }, { Yes, "是" }, { No, "否" } }) {
            if (QAbstractButton* b = button(which)) {
                b->setText(QString::fromUtf8(caption));
                b->setIcon(QIcon());
            }
        }
        // A short notice would be narrower than its title, which the window
        // manager then cuts short ("Z..."): the box is kept wide enough for
        // the title and the title bar's icon and buttons.
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            const int titleWidth = QFontMetrics(songFont(MessagePointSize, true)).horizontalAdvance(title);
            grid->addItem(new QSpacerItem(titleWidth + TitleBarButtons, 0), grid->rowCount(), 0, 1,
                grid->columnCount());
        }
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (!event->spontaneous())
            centreOverOwner(*this);
    }
};

} // namespace

void showNotice(QWidget* parent, const QString& text)
{
    MessageBox box(QString::fromUtf8(AppTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& prompt, const QString& title)
{
    MessageBox box(title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace zelmar
