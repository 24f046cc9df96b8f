#pragma once

// Image files for the textures. The decoding is the platform's (SDL2_image
// in the game and the tests); it needs no window.

#include <cstdint>
#include <string>
#include <vector>

// Decodes an image file (PNG, BMP, TGA, JPEG) into 32-bit RGBA, rows from
// the top. Returns false when the file is missing or cannot be decoded.
bool platformDecodeImage(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba);
