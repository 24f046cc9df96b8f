#include "heli_parts.h"
#include "materials.h"
#include "models.h"
#include "palette.h"
#include "shapes.h"
#include "text3d.h"

#include <cmath>

// The HUD is drawn unlit under an orthographic view of -400..400 by
// -300..300 and depth -1..1; every element stays flat.

namespace {

TextStyle hudText(double capHeight, Colour c, Align align = Align::Left)
{
    TextStyle s;
    s.capHeight = capHeight;
    s.depth = 0.1;
    s.align = align;
    s.front = s.side = paletteUV(c);
    return s;
}

// A flat disc of n segments in the z = 0 plane.
Mesh disc(V3 centre, double r, int n, UV c)
{
    Mesh m;
    for (int i = 0; i < n; ++i) {
        double a0 = 2 * Pi * i / n, a1 = 2 * Pi * (i + 1) / n;
        m.triangle(centre, centre + V3{r * std::cos(a0), r * std::sin(a0), 0},
                   centre + V3{r * std::cos(a1), r * std::sin(a1), 0}, c);
    }
    return m;
}

// A line segment of width w in the z = 0 plane.
Mesh stroke(V3 a, V3 b, double w, UV c)
{
    V3 d = normalized(b - a), side{-d.y * w * 0.5, d.x * w * 0.5, 0};
    Mesh m;
    m.quad(a - side, b - side, b + side, a + side, c);
    return m;
}

} // namespace

// Drawn at (300, 265) scaled (2.2, 2.7): the game's own fuel bar fills
// model x -19.5..27.3, y -0.4..3.4, so the gauge frames that area.
AseScene buildFuelGauge()
{
    AseScene scene;
    int flat = scene.addMaterial(paletteUnlit("FuelGauge"));
    Mesh m = frame(-20.6, -1.4, 28.4, 4.4, 0.7, 0.2, paletteUV(Colour::White));
    // Back plate behind the bar (below it in depth).
    m.append(panel(-20.0, -0.9, 27.8, 3.9, paletteUV(Colour::Charcoal)), Affine::translate({0, 0, -0.3}));
    // Quarter ticks under the frame.
    for (int i = 0; i <= 4; ++i) {
        double x = -19.5 + (27.3 + 19.5) * i / 4.0;
        m.append(stroke({x, -1.4, 0}, {x, -2.6, 0}, 0.35, paletteUV(Colour::White)));
    }
    m.append(textMesh("FUEL", hudText(2.6, Colour::Yellow, Align::Right)),
             Affine::translate({-22.5, 0.1, 0}));
    m.append(textMesh("E", hudText(1.6, Colour::Red, Align::Centre)), Affine::translate({-19.5, -5.0, 0}));
    m.append(textMesh("F", hudText(1.6, Colour::White, Align::Centre)), Affine::translate({27.3, -5.0, 0}));
    scene.addObject("FuelGauge", m, flat);
    return scene;
}

// Drawn at 0.4 scale, one per life, 30 screen units apart: a helicopter in
// side view no wider than 70 model units, z within -4..0.
AseScene buildLivesIcon()
{
    AseScene scene;
    int flat = scene.addMaterial(paletteUnlit("LifeIcon"));
    Mesh heliMesh = heli::fuselage();
    heliMesh.append(heli::canopy());
    heliMesh.append(heli::tailBoom());
    heliMesh.append(heli::tailRotor());
    heliMesh.append(heli::skids());
    heliMesh.append(heli::rotor());
    // Nose to the left, flattened to the icon's depth.
    heliMesh.transform(Affine::rotateY(90.0));
    V3 lo, hi;
    heliMesh.bounds(lo, hi);
    double scale = 64.0 / (hi.x - lo.x);
    heliMesh.transform(Affine::scale({scale, scale, 3.0 / (hi.z - lo.z)}) *
                       Affine::translate({-(lo.x + hi.x) * 0.5, -(lo.y + hi.y) * 0.5, -(lo.z + hi.z) * 0.5}));
    heliMesh.transform(Affine::translate({0, 0, -2.0}));
    scene.addObject("LifeIcon", heliMesh, flat);
    return scene;
}

// Drawn at scale (2.5, 2) with no translation: model y -150..-110 reaches
// screen y -300..-220, below the hero (which reaches down to about -170).
AseScene buildHeliMeters()
{
    AseScene scene;
    int flat = scene.addMaterial(paletteUnlit("Meters"));
    Mesh m;
    // The panel: a dark strip with a lighter rim.
    m.append(panel(-160, -150, 160, -117, paletteUV(Colour::DarkSteel)), Affine::translate({0, 0, -0.3}));
    m.append(stroke({-160, -117, 0}, {160, -117, 0}, 1.2, paletteUV(Colour::Steel)),
             Affine::translate({0, 0, -0.2}));

    struct Dial {
        double x;
        const char* label;
        double needle; // degrees from straight up, clockwise
    };
    const Dial dials[] = {{-105, "ALT", 40}, {-52, "SPEED", -30}, {52, "HEAD", 0}, {105, "ENG", 70}};
    for (const Dial& d : dials) {
        V3 c{d.x, -133.5, 0};
        // Ring, face, ticks and needle. The panel is squeezed 2:2.5 on
        // screen, so the dials are drawn wider than tall to look round.
        Mesh dial = disc({0, 0, 0}, 1.0, 24, paletteUV(Colour::Steel));
        dial.append(disc({0, 0, 0}, 0.86, 24, paletteUV(Colour::Charcoal)), Affine::translate({0, 0, 0.05}));
        for (int t = 0; t < 12; ++t) {
            double a = radians(30.0 * t);
            V3 dir{std::sin(a), std::cos(a), 0};
            dial.append(stroke(dir * 0.66, dir * 0.84, t % 3 == 0 ? 0.08 : 0.04, paletteUV(Colour::White)),
                        Affine::translate({0, 0, 0.1}));
        }
        double a = radians(d.needle);
        dial.append(
            stroke({0, 0, 0}, V3{std::sin(a), std::cos(a), 0} * 0.75, 0.08, paletteUV(Colour::Orange)),
            Affine::translate({0, 0, 0.15}));
        dial.append(disc({0, 0, 0}, 0.1, 8, paletteUV(Colour::White)), Affine::translate({0, 0, 0.2}));
        m.append(dial, Affine::translate(c) * Affine::scale({13.0, 10.4, 1.0}));
        m.append(textMesh(d.label, hudText(2.2, Colour::Cream, Align::Centre)),
                 Affine::translate({d.x + 19.5, -134.5, 0}) * Affine::scale({1.0, 1.25, 1.0}));
    }
    // The weapons' ready lamps in the middle.
    m.append(disc({-8, -130, 0}, 3.0, 12, paletteUV(Colour::Yellow)),
             Affine::scale({1.0, 1.25, 1.0}) * Affine::translate({0, 26, 0}));
    m.append(disc({8, -130, 0}, 3.0, 12, paletteUV(Colour::Red)),
             Affine::scale({1.0, 1.25, 1.0}) * Affine::translate({0, 26, 0}));
    m.append(textMesh("RKT  GUN", hudText(1.8, Colour::Cream, Align::Centre)),
             Affine::translate({0, -145, 0}) * Affine::scale({1.0, 1.25, 1.0}));
    scene.addObject("Meters", m, flat);
    return scene;
}
