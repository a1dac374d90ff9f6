#pragma once
// A label at its place in a window, in its font, aligned top left, its box
// grown where needed so that the letters show whole in the face actually
// used (the sizes of the layout are those of the text in 宋体; another Song
// face can stand a pixel or two taller or wider).

#include <QFont>
#include <QLabel>
#include <QRect>

namespace zelmar {

// Takes `label` (a plain or a link label), names and places it; returns it.
template <typename Label> Label* placeLabel(Label* label, const char* name, QRect box, const QFont& font)
{
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(QRect(box.topLeft(), box.size().expandedTo(label->sizeHint())));
    return label;
}

} // namespace zelmar
