#include "ui/InfoDialog.h"

#include "ui/LinkLabel.h"
#include "ui/Placement.h"
#include "ui/Twips.h"
#include "ui/UiFont.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPixmap>
#include <QShowEvent>

#include <algorithm>

namespace zelmar {

namespace {
constexpr qreal LabelPoints = 10.5;
constexpr int Margin = 480; // twips right of the longest line, at the least
} // namespace

InfoDialog::InfoDialog(const char* name, const char* title, int width, int height, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_client(twipsSize(width, height))
{
    setObjectName(QLatin1String(name));
    setWindowTitle(QString::fromUtf8(title));
    // No icon in the title bar. A dialog without an icon of its own would
    // show the main window's: Qt hands it down to the dialog, and window
    // managers draw the icon of a dialog's owner. A blank one shows nothing.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));
    setFixedSize(m_client);
}

void InfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOverOwner(*this);
}

void InfoDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

LinkLabel* InfoDialog::place(std::initializer_list<Item> items)
{
    LinkLabel* link = nullptr;
    const QFont font = songFont(LabelPoints);
    const QFontMetrics metrics(font);
    const Item* previous = nullptr;
    int previousRight = 0;
    int widest = m_client.width();
    for (const Item& item : items) {
        QLabel* label = item.link ? (link = new LinkLabel(item.text, this)) : new QLabel(item.text, this);
        label->setObjectName(QLatin1String(item.name));
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Labels are as wide as their text. The first of a line stands at its
        // place; each further one keeps its distance from the one before, so
        // the line reads as one sentence whatever the texts' widths.
        int left = px(item.left);
        if (previous && previous->top == item.top)
            left = previousRight + px(item.left - previous->left - previous->width);
        const int width = metrics.horizontalAdvance(item.text);
        label->setGeometry(left, px(item.top), width, px(item.height));
        previous = &item;
        previousRight = left + width;
        widest = std::max(widest, previousRight + px(Margin));
    }
    setFixedSize(widest, m_client.height());
    return link;
}

} // namespace zelmar
