#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGBA picture, rows top-down as image files store them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 255) {}

    void set(int x, int y, int r, int g, int b, int a = 255);
    const uint8_t* at(int x, int y) const { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// A PNG file (8-bit RGBA, no interlace) of the image; the same picture
// always gives the same bytes.
std::vector<uint8_t> encodePng(const Image& image);

uint8_t clampByte(double v);
