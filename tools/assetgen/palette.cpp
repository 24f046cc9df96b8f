#include "palette.h"

#include "image.h"

namespace {

constexpr int CellSize = 16;
constexpr int Cells = 4; // per side

const int Rgb[16][3] = {
    {250, 250, 246}, // White
    {240, 226, 190}, // Cream
    {255, 214, 40},  // Yellow
    {255, 128, 24},  // Orange
    {226, 40, 30},   // Red
    {120, 20, 16},   // DarkRed
    {104, 118, 58},  // Olive
    {58, 68, 36},    // DarkOlive
    {196, 170, 118}, // Sand
    {110, 78, 48},   // Brown
    {150, 158, 166}, // Steel
    {82, 88, 96},    // DarkSteel
    {36, 38, 42},    // Charcoal
    {120, 190, 230}, // Glass
    {150, 200, 255}, // Sky
    {30, 50, 110},   // Navy
};

} // namespace

UV paletteUV(Colour c)
{
    int i = int(c);
    double cell = 1.0 / Cells;
    // Rows counted from the bottom of the picture, as texture v runs.
    return {(i % Cells + 0.5) * cell, (i / Cells + 0.5) * cell};
}

void paletteRGB(Colour c, int rgb[3])
{
    for (int k = 0; k < 3; ++k)
        rgb[k] = Rgb[int(c)][k];
}

Image paletteImage()
{
    Image image(CellSize * Cells, CellSize * Cells);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            // Image rows run top-down; texture v runs bottom-up.
            int cell = ((image.height - 1 - y) / CellSize) * Cells + x / CellSize;
            image.set(x, y, Rgb[cell][0], Rgb[cell][1], Rgb[cell][2], 255);
        }
    return image;
}
