#include "render/viewport.h"

Viewport pictureViewport(int drawableWidth, int drawableHeight)
{
    Viewport v;
    if (drawableWidth <= 0 || drawableHeight <= 0) {
        v.width = 0;
        v.height = 0;
        return v;
    }
    // Widths and heights in exact integer arithmetic: a 4:3 drawable keeps
    // every pixel.
    if (static_cast<long long>(drawableWidth) * 3 >= static_cast<long long>(drawableHeight) * 4) {
        v.height = drawableHeight;
        v.width = static_cast<int>(static_cast<long long>(drawableHeight) * 4 / 3);
    } else {
        v.width = drawableWidth;
        v.height = static_cast<int>(static_cast<long long>(drawableWidth) * 3 / 4);
    }
    v.x = (drawableWidth - v.width) / 2;
    v.y = (drawableHeight - v.height) / 2;
    return v;
}
