#include "ui/FilledShape.h"

#include <QPainter>

namespace zelmar {

FilledShape::FilledShape(QColor fill, std::optional<QColor> border, QWidget* parent)
    : QWidget(parent)
    , m_fill(fill)
    , m_border(border)
{
}

void FilledShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    if (m_border) {
        painter.setPen(*m_border);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace zelmar
