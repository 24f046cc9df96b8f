#pragma once

#include "ase.h"

// The kinds of material the models use. The game lights opaque nodes with
// one light from above (faces toward the viewer get mostly ambient light)
// and draws nodes with any transparency unlit in their diffuse colour.

// Palette colours, lit: the texture times the lighting.
AseMaterial paletteLit(const std::string& name, double ambient = 1.0);
// Palette colours exactly as painted, unlit (nearly opaque).
AseMaterial paletteUnlit(const std::string& name, double transparency = 0.02);
// One colour, lit; ambient as a share of the colour.
AseMaterial colourLit(const std::string& name, Rgb colour, double ambient = 0.8);
// One colour, unlit and blended.
AseMaterial colourUnlit(const std::string& name, Rgb colour, double transparency);
// A texture of its own, lit, in white light.
AseMaterial textureLit(const std::string& name, const std::string& bitmap, double ambient = 0.9);
// A texture of its own, unlit (the sky).
AseMaterial textureUnlit(const std::string& name, const std::string& bitmap, double transparency = 0.02);
