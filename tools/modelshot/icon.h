#pragma once

// The game's icons: the hero's helicopter seen from the front at three
// quarters and a little above, on a transparent square it fills. One large
// render is averaged down to every size, so the small icons stay smooth.

#include "image.h"

#include <string>
#include <vector>

// The side of the square the helicopter is rendered in before it is
// averaged down; no icon can be larger.
constexpr int IconRenderSize = 2048;

// The helicopter rendered at size by size from HeroHeli.ASE in the current
// directory: alpha 255 where it covers a pixel, 0 elsewhere. Its larger
// extent spans the square but for a margin of a thirty-second of the side at
// either end, and it is centred along the other.
Image renderIcon(int size);

// The picture averaged down to width by height: each pixel is the mean of
// the source area it covers, the colours weighted by their alpha so that
// the transparent background never darkens an edge.
Image downscale(const Image& source, int width, int height);

// "16,22,32" to the sizes; empty when the text is not a list of sizes from
// 1 to IconRenderSize.
std::vector<int> parseIconSizes(const std::string& text);

// Renders the icon once and writes <themeDir>/<N>x<N>/apps/kestrava.png for
// each size; false (with a message on standard error) when a file cannot be
// written.
bool writeIcons(const std::string& themeDir, const std::vector<int>& sizes);
