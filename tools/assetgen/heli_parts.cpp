#include "heli_parts.h"

#include "palette.h"
#include "shapes.h"

namespace heli {

namespace {

// y along the helicopter's length: stand a y-axis primitive on its side
// with its top toward the tail (+z).
Affine alongZ(V3 at) { return Affine::translate(at) * Affine::rotateX(90.0); }

} // namespace

Mesh fuselage()
{
    Mesh m;
    m.append(ellipsoid({0.48, 0.52, 0.92}, 14, 9, paletteUV(Colour::Olive)),
             Affine::translate({0, 0, -0.05}));
    // Engine housing and exhausts on the roof.
    m.append(box({-0.24, 0.36, -0.25}, {0.24, 0.62, 0.55}, paletteUV(Colour::DarkOlive)));
    m.append(cylinder(0.07, 0.0, 0.3, 8, paletteUV(Colour::Charcoal)), alongZ({0.2, 0.5, 0.5}));
    m.append(cylinder(0.07, 0.0, 0.3, 8, paletteUV(Colour::Charcoal)), alongZ({-0.2, 0.5, 0.5}));
    // Mast.
    m.append(cylinder(0.06, 0.6, RotorHub.y, 8, paletteUV(Colour::DarkSteel)),
             Affine::translate({RotorHub.x, 0, RotorHub.z}));
    // A yellow band round the nose, the game's marking.
    // Its radii follow the cabin's section there, a little outside it.
    m.append(frustum(0.455, 0.493, 0.473, 0.513, 0.0, 0.08, 14, paletteUV(Colour::Yellow), false),
             alongZ({0, 0, -0.45}));
    // Stub wings with rocket pods.
    m.append(box({-0.78, -0.12, -0.1}, {0.78, -0.06, 0.22}, paletteUV(Colour::DarkOlive)));
    for (double x : {-0.7, 0.7})
        m.append(frustum(0.07, 0.07, 0.09, 0.09, -0.25, 0.3, 8, paletteUV(Colour::Charcoal)),
                 alongZ({x, -0.16, 0.0}));
    return m;
}

Mesh canopy()
{
    Mesh m;
    m.append(ellipsoid({0.36, 0.3, 0.46}, 12, 7, paletteUV(Colour::Glass)),
             Affine::translate({0, 0.14, -0.55}));
    return m;
}

Mesh tailBoom()
{
    Mesh m;
    m.append(frustum(0.2, 0.18, 0.07, 0.07, 0.0, 1.65, 10, paletteUV(Colour::Olive)),
             alongZ({0, 0.14, 0.55}));
    // Fin, raked back.
    Mesh fin = box({-0.03, 0.0, -0.12}, {0.03, 0.6, 0.12}, paletteUV(Colour::DarkOlive));
    m.append(fin, Affine::translate({0, 0.14, 2.1}) * Affine::rotateX(-25.0));
    m.append(box({-0.38, 0.12, 1.72}, {0.38, 0.16, 1.88}, paletteUV(Colour::DarkOlive)));
    // A red tip on the fin.
    m.append(box({-0.035, 0.56, -0.12}, {0.035, 0.62, 0.12}, paletteUV(Colour::Red)),
             Affine::translate({0, 0.14, 2.1}) * Affine::rotateX(-25.0));
    return m;
}

Mesh tailRotor()
{
    Mesh m;
    V3 hub{0.08, 0.5, 2.24};
    Mesh blade = box({-0.015, -0.3, -0.035}, {0.015, 0.3, 0.035}, paletteUV(Colour::Charcoal));
    m.append(blade, Affine::translate(hub) * Affine::rotateX(20.0));
    m.append(blade, Affine::translate(hub) * Affine::rotateX(110.0));
    m.append(cylinder(0.04, -0.03, 0.04, 6, paletteUV(Colour::DarkSteel)),
             Affine::translate(hub) * Affine::rotateZ(-90.0));
    return m;
}

Mesh skids()
{
    Mesh m;
    for (double x : {-0.38, 0.38}) {
        m.append(cylinder(0.035, -0.75, 0.7, 6, paletteUV(Colour::Charcoal)),
                 alongZ({x, -0.72, 0.0}) * Affine::translate({0, 0, 0}));
        // Struts, slanting in toward the cabin.
        for (double z : {-0.4, 0.35}) {
            V3 foot{x, -0.72, z}, top{x * 0.55, -0.3, z};
            V3 d = top - foot;
            Affine place = Affine::frame(normalized(cross(d, {0, 0, 1})), d, {0, 0, 1}, foot);
            m.append(box({-0.03, 0.0, -0.03}, {0.03, 1.0, 0.03}, paletteUV(Colour::Charcoal)), place);
        }
    }
    return m;
}

Mesh rotor()
{
    Mesh m;
    m.append(cylinder(0.11, -0.04, 0.05, 10, paletteUV(Colour::DarkSteel)), Affine::translate(RotorHub));
    Mesh blade = box({0.08, -0.012, -0.065}, {1.55, 0.012, 0.065}, paletteUV(Colour::Charcoal));
    Mesh tip = box({1.4, -0.013, -0.066}, {1.55, 0.013, 0.066}, paletteUV(Colour::Yellow));
    for (int k = 0; k < 4; ++k) {
        Affine place = Affine::translate(RotorHub) * Affine::rotateY(45.0 + 90.0 * k) * Affine::rotateX(4.0);
        m.append(blade, place);
        m.append(tip, place);
    }
    return m;
}

Mesh innerHull()
{
    Mesh m;
    UV c = paletteUV(Colour::DarkOlive);
    // A horizontal and a vertical diamond through the cabin, both inside it.
    m.quad({0, 0, -0.85}, {-0.42, 0, -0.1}, {0, 0, 0.65}, {0.42, 0, -0.1}, c);
    m.quad({0, 0.42, -0.1}, {0, 0, -0.85}, {0, -0.42, -0.1}, {0, 0, 0.65}, c);
    return m;
}

} // namespace heli
