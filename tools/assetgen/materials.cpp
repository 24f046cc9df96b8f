#include "materials.h"

#include "palette.h"

namespace {

Rgb times(Rgb c, double s) { return {c.r * s, c.g * s, c.b * s}; }

} // namespace

AseMaterial paletteLit(const std::string& name, double ambient)
{
    return textureLit(name, PaletteTexture, ambient);
}

AseMaterial paletteUnlit(const std::string& name, double transparency)
{
    return textureUnlit(name, PaletteTexture, transparency);
}

AseMaterial colourLit(const std::string& name, Rgb colour, double ambient)
{
    AseMaterial m;
    m.name = name;
    m.ambient = times(colour, ambient);
    m.diffuse = colour;
    m.specular = {0.2, 0.2, 0.2};
    m.shine = 0.2;
    return m;
}

AseMaterial colourUnlit(const std::string& name, Rgb colour, double transparency)
{
    AseMaterial m = colourLit(name, colour, 1.0);
    m.transparency = transparency;
    return m;
}

AseMaterial textureLit(const std::string& name, const std::string& bitmap, double ambient)
{
    AseMaterial m = colourLit(name, {1.0, 1.0, 1.0}, ambient);
    m.bitmap = bitmap;
    return m;
}

AseMaterial textureUnlit(const std::string& name, const std::string& bitmap, double transparency)
{
    AseMaterial m = colourUnlit(name, {1.0, 1.0, 1.0}, transparency);
    m.bitmap = bitmap;
    return m;
}
