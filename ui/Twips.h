#pragma once
// The windows are laid out in twips (1/1440 inch). At 96 dots per inch a pixel
// is 15 twips; Qt's device-independent pixels take care of denser screens.

#include <QRect>
#include <QSize>

namespace zelmar {

constexpr int px(int twips)
{
    return (twips + 7) / 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return { px(left), px(top), px(width), px(height) };
}

inline QSize twipsSize(int width, int height)
{
    return { px(width), px(height) };
}

} // namespace zelmar
