#include "InfoDialog.h"

#include "LinkLabel.h"
#include "Twips.h"
#include "UiFont.h"

#include <QFontMetrics>

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
    setFixedSize(m_client);
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
