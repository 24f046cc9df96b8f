#pragma once

// Where the 4:3 picture goes inside the window's drawable: as large as fits,
// centred, with black bars on the remaining sides. The projection is always
// 4:3, so nothing is ever stretched. On high-density displays the drawable
// is larger than the window and the picture follows it.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 800;
    int height = 600;
};

Viewport pictureViewport(int drawableWidth, int drawableHeight);
