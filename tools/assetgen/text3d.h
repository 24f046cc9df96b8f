#pragma once

#include "mesh.h"

#include <string>
#include <vector>

// Captions as solid letters: the glyph outlines of a real font (FreeType),
// curves flattened, faces triangulated by the GLU tessellator, extruded
// along z with side walls whose normals follow the outline (smooth along
// curves, sharp at corners).
enum class Font { Sans, SansBold };

enum class Align { Left, Centre, Right };

struct TextStyle {
    Font font = Font::SansBold;
    double capHeight = 1.0; // height of a capital letter, in model units
    double depth =
        0.2; // extrusion along z; the front face is at +depth / 2; 0 for flat letters (front face only)
    double tracking = 0.0; // extra space after each letter, in cap heights
    Align align = Align::Left;
    UV front; // palette colour of the front and back faces
    UV side;  // of the side walls
    // Letters (by index in the text) whose front shows another colour: the
    // menu's key letters.
    std::vector<int> marked;
    UV markedFront;
};

// The text on one line, baseline at y = 0, x placed by the alignment about
// x = 0, centred on z = 0. Blanks advance without faces.
Mesh textMesh(const std::string& text, const TextStyle& style);

// Advance width of the text in model units.
double textWidth(const std::string& text, const TextStyle& style);

// Lines under one another, the first baseline at y = 0 and each further one
// lineSpacing cap heights lower.
Mesh textBlock(const std::vector<std::string>& lines, const TextStyle& style, double lineSpacing = 1.7);

// Where the fonts are read from; set once by the generator's entry point.
void setFontDirectory(const std::string& dir);
