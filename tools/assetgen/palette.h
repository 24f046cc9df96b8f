#pragma once

#include "geometry.h"

struct Image;

// One small texture of flat colours shared by most models: a face whose
// corners all sit on one cell's centre shows that cell's colour, so one
// node (one material) can carry many colours. The cells are 16 texels
// wide, so the first mipmap levels keep them pure.
enum class Colour {
    White,
    Cream,
    Yellow,
    Orange,
    Red,
    DarkRed,
    Olive,
    DarkOlive,
    Sand,
    Brown,
    Steel,
    DarkSteel,
    Charcoal,
    Glass,
    Sky,
    Navy,
};

constexpr const char* PaletteTexture = "palette.png";

UV paletteUV(Colour c);
// The colour of a cell, 0..255 per channel.
void paletteRGB(Colour c, int rgb[3]);
Image paletteImage();
