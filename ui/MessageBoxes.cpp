#include "ui/MessageBoxes.h"

#include "ui/Placement.h"
#include "ui/UiFont.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace zelmar {

namespace {

// The size of the system's message text, in the program's face.
constexpr qreal MessagePointSize = 10.5;
// Room in a title bar for the window manager's icon and buttons, in pixels.
constexpr int TitleBarButtons = 120;
// Line pitch of a notice that wraps, against the face's own: the Song face
// has no gap between lines of its own, so wrapped lines would touch.
constexpr int LineHeightPercent = 150;

// The widest a notice's text may stand, against the screen's width: the
// usual report fits on a line or two, and the box stays well inside the
// screen. Room for the box's margins comes off it.
constexpr double MostOfScreen = 0.6;
constexpr int BoxMargins = 60;
// Qt's message box lets nothing wider than this stand unwrapped.
constexpr int WidestBox = 1000;

// Where a reader breaks a line: after a punctuation mark or a blank, and
// before an opening bracket. A quoted item (“…”) is never broken.
bool breaksAfter(QChar c)
{
    // Not the ASCII marks but the bracket: a point or a comma also stands
    // inside a file name or a number.
    static const QString marks = QStringLiteral("，。、；：？！）》」』】) ");
    return marks.contains(c);
}

// The pieces of one line that may stand at the start of a new line.
QStringList pieces(const QString& line)
{
    QStringList out(QString {});
    int quoted = 0;
    for (const QChar c : line) {
        // Before an opening bracket too, which then starts the new line.
        if (quoted == 0 && (c == QChar(0xFF08) || c == QLatin1Char('(')) && !out.last().isEmpty())
            out << QString();
        out.last() += c;
        if (c == QChar(0x201C))
            ++quoted;
        else if (c == QChar(0x201D) && quoted > 0)
            --quoted;
        if (quoted == 0 && breaksAfter(c))
            out << QString();
    }
    if (out.last().isEmpty())
        out.removeLast();
    return out;
}

QStringList wrapLine(const QString& line, const QFontMetrics& metrics, int width)
{
    QStringList lines(QString {});
    for (QString piece : pieces(line)) {
        if (!lines.last().isEmpty() && metrics.horizontalAdvance(lines.last() + piece.trimmed()) > width)
            lines << QString();
        // A piece wider than a whole line (a long path) is cut where it must
        // be, after a folder's name where there is one.
        while (lines.last().isEmpty() && metrics.horizontalAdvance(piece.trimmed()) > width) {
            int fit = 1;
            while (fit < piece.size() && metrics.horizontalAdvance(piece.left(fit + 1)) <= width)
                ++fit;
            const int folder = static_cast<int>(piece.left(fit).lastIndexOf(QLatin1Char('/')));
            if (folder > 0)
                fit = folder + 1;
            lines.last() = piece.left(fit);
            lines << QString();
            piece = piece.mid(fit);
        }
        lines.last() += piece;
    }
    return lines;
}

// The text as shown: every character as it stands, blanks and line breaks
// kept, each line wrapped where a reader would to fit `width`, the lines of
// a wrapped text spaced apart. The breaks the wrapping adds are <br>, apart
// from the text's own.
QString spacedLines(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QStringList wrapped;
        for (const QString& part : wrapLine(line, metrics, width))
            wrapped << part.toHtmlEscaped();
        lines << wrapped.join(QLatin1String("<br>"));
    }
    return QStringLiteral("<p style=\"white-space:pre; line-height:%1%\">%2</p>")
        .arg(LineHeightPercent)
        .arg(lines.join(QLatin1Char('\n')));
}

int textWidthFor(const QWidget* parent)
{
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int available = screen ? screen->availableGeometry().width() : 1024;
    return std::min(static_cast<int>(available * MostOfScreen), WidestBox) - BoxMargins;
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
        : QMessageBox(NoIcon, title,
            spacedLines(text, QFontMetrics(songFont(MessagePointSize)), textWidthFor(parent)), buttons,
            parent,
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
    showNotice(parent, text, QString::fromUtf8(AppTitle));
}

void showNotice(QWidget* parent, const QString& text, const QString& title)
{
    MessageBox box(title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool askYesNo(QWidget* parent, const QString& prompt, const QString& title)
{
    MessageBox box(title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace zelmar
