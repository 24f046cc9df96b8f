#include "materials.h"
#include "models.h"
#include "palette.h"
#include "random.h"
#include "shapes.h"

#include <cmath>
#include <stdexcept>

// A military base in map coordinates (z up), origin at the centre of its
// ground, about 46 units across. The intact base is also the mesh the
// rockets are tested against: its large pad and roofs make it fair to hit.

namespace {

// Primitives are modelled y-up; this stands them on the map's ground.
Affine upright(V3 at, double turnDegrees = 0.0)
{
    return Affine::translate(at) * Affine::rotateZ(turnDegrees) * Affine::rotateX(90.0);
}

constexpr double Half = 23.0; // half the pad's side

Mesh pad(Colour ground, Colour marking)
{
    Mesh m;
    m.quad({-Half, -Half, 0.3}, {Half, -Half, 0.3}, {Half, Half, 0.3}, {-Half, Half, 0.3}, paletteUV(ground));
    // Rim, sloping down to the terrain so the pad never floats.
    m.quad({-Half - 2, -Half - 2, -1.0}, {Half + 2, -Half - 2, -1.0}, {Half, -Half, 0.3}, {-Half, -Half, 0.3},
           paletteUV(ground));
    m.quad({Half + 2, -Half - 2, -1.0}, {Half + 2, Half + 2, -1.0}, {Half, Half, 0.3}, {Half, -Half, 0.3},
           paletteUV(ground));
    m.quad({Half + 2, Half + 2, -1.0}, {-Half - 2, Half + 2, -1.0}, {-Half, Half, 0.3}, {Half, Half, 0.3},
           paletteUV(ground));
    m.quad({-Half - 2, Half + 2, -1.0}, {-Half - 2, -Half - 2, -1.0}, {-Half, -Half, 0.3}, {-Half, Half, 0.3},
           paletteUV(ground));
    // A landing circle with an H.
    for (int i = 0; i < 16; ++i) {
        double a0 = 2 * Pi * i / 16, a1 = 2 * Pi * (i + 1) / 16;
        V3 c{9.0, -9.0, 0.35};
        m.quad(c + V3{5.0 * std::cos(a0), 5.0 * std::sin(a0), 0},
               c + V3{6.0 * std::cos(a0), 6.0 * std::sin(a0), 0},
               c + V3{6.0 * std::cos(a1), 6.0 * std::sin(a1), 0},
               c + V3{5.0 * std::cos(a1), 5.0 * std::sin(a1), 0}, paletteUV(marking));
    }
    m.append(box({7.0, -11.5, 0.3}, {7.8, -6.5, 0.4}, paletteUV(marking)));
    m.append(box({10.2, -11.5, 0.3}, {11.0, -6.5, 0.4}, paletteUV(marking)));
    m.append(box({7.8, -9.4, 0.3}, {10.2, -8.6, 0.4}, paletteUV(marking)));
    return m;
}

// A half-round hangar along x.
Mesh hangar(V3 at, Colour roof, bool broken)
{
    Mesh m;
    Mesh shell = frustum(6.0, 6.0, 6.0, 6.0, -8.0, broken ? 2.0 : 8.0, 12, paletteUV(roof), true);
    // The drum's axis along x; its lower half pressed flat onto the ground.
    shell.transform(Affine::rotateZ(-90.0));
    for (V3& p : shell.vertices)
        p.z = std::fmax(p.z, 0.0);
    m.append(shell, Affine::translate(at));
    return m;
}

Mesh tower(V3 at, bool toppled)
{
    Mesh t;
    for (double x : {-1.6, 1.6})
        for (double y : {-1.6, 1.6})
            t.append(box({x - 0.3, y - 0.3, 0}, {x + 0.3, y + 0.3, 12}, paletteUV(Colour::DarkSteel)));
    t.append(box({-2.6, -2.6, 12}, {2.6, 2.6, 16}, paletteUV(Colour::Sand)));
    t.append(box({-2.8, -2.8, 15.8}, {2.8, 2.8, 16.6}, paletteUV(Colour::DarkOlive)));
    t.append(box({-2.65, -1.5, 13.5}, {2.65, 1.5, 15.2}, paletteUV(Colour::Glass)));
    Affine place = Affine::translate(at);
    if (toppled)
        place = place * Affine::rotateY(72.0) * Affine::translate({0, 0, 0.8});
    t.transform(place);
    return t;
}

Mesh fuelTanks(V3 at, bool burst)
{
    Mesh m;
    for (int i = 0; i < 3; ++i) {
        V3 p = at + V3{0, i * 5.0, 0};
        if (burst && i == 1) {
            m.append(frustum(2.2, 2.2, 1.4, 1.4, 0.0, 1.5, 10, paletteUV(Colour::Charcoal)), upright(p));
            continue;
        }
        m.append(cylinder(2.2, 0.0, 4.2, 10, paletteUV(burst ? Colour::Brown : Colour::Steel)), upright(p));
        m.append(frustum(2.2, 2.2, 0.6, 0.6, 4.2, 5.0, 10, paletteUV(Colour::Steel)), upright(p));
    }
    return m;
}

Mesh radar(V3 at, bool broken)
{
    Mesh m;
    m.append(cylinder(0.35, 0.0, 6.0, 6, paletteUV(Colour::DarkSteel)), upright(at));
    Mesh dish = frustum(0.3, 0.3, 3.2, 3.2, 0.0, 1.4, 12, paletteUV(Colour::White), false);
    double tilt = broken ? 120.0 : 35.0;
    m.append(dish, Affine::translate(at + V3{0, 0, 6.0}) * Affine::rotateX(tilt) * Affine::rotateX(90.0));
    return m;
}

Mesh sandbags(Colour c)
{
    Mesh m;
    // Low walls along two sides, with a gap for the gate.
    m.append(box({-Half + 1, -Half + 1, 0.3}, {-Half + 2.6, Half - 1, 2.0}, paletteUV(c)));
    m.append(box({-Half + 1, Half - 2.6, 0.3}, {Half - 12, Half - 1, 2.0}, paletteUV(c)));
    return m;
}

Mesh flag(V3 at, bool torn)
{
    Mesh m;
    m.append(cylinder(0.15, 0.0, 11.0, 5, paletteUV(Colour::Steel)), upright(at));
    if (!torn) {
        m.quad(at + V3{0, 0, 8.5}, at + V3{4.0, 0.5, 8.7}, at + V3{4.0, 0.5, 10.9}, at + V3{0, 0, 11.0},
               paletteUV(Colour::Red));
    }
    return m;
}

// Scattered blocks of rubble; the seed keeps every run alike.
Mesh debris(int count, double spread, double size, uint64_t seed, Colour a, Colour b)
{
    Random r(seed);
    Mesh m;
    for (int i = 0; i < count; ++i) {
        V3 at{r.range(-spread, spread), r.range(-spread, spread), 0.3};
        double s = size * r.range(0.4, 1.0);
        Mesh block = box({-s, -s * 0.6, 0}, {s, s * 0.6, s * 0.8}, paletteUV(i % 2 ? a : b));
        block.transform(Affine::translate(at) * Affine::rotateZ(r.range(0, 180)) *
                        Affine::rotateX(r.range(-25, 25)));
        m.append(block);
    }
    return m;
}

// Scorch marks just above the pad.
Mesh scorch(int count, double spread, uint64_t seed)
{
    Random r(seed);
    Mesh m;
    for (int i = 0; i < count; ++i) {
        V3 c{r.range(-spread, spread), r.range(-spread, spread), 0.38 + 0.01 * i};
        double rad = r.range(2.5, 6.0);
        for (int k = 0; k < 8; ++k) {
            double a0 = 2 * Pi * k / 8, a1 = 2 * Pi * (k + 1) / 8;
            m.triangle(c, c + V3{rad * std::cos(a0), rad * std::sin(a0), 0},
                       c + V3{rad * std::cos(a1), rad * std::sin(a1), 0}, paletteUV(Colour::Charcoal));
        }
    }
    return m;
}

// Flames: upright cones, unlit.
Mesh flames(int count, double spread, double height, uint64_t seed)
{
    Random r(seed);
    Mesh m;
    const Colour colours[3] = {Colour::Yellow, Colour::Orange, Colour::Red};
    for (int i = 0; i < count; ++i) {
        V3 at{r.range(-spread, spread), r.range(-spread, spread), 0.3};
        double h = height * r.range(0.5, 1.0), w = h * r.range(0.25, 0.4);
        m.append(frustum(w, w, 0.0, 0.0, 0.0, h, 7, paletteUV(colours[i % 3])), upright(at, r.range(0, 90)));
    }
    return m;
}

AseScene intact()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("BasePaint", 0.9));
    Mesh m = pad(Colour::Sand, Colour::White);
    m.append(hangar({-8.0, 8.0, 0.3}, Colour::Olive, false));
    m.append(tower({12.0, 12.0, 0.3}, false));
    m.append(fuelTanks({-14.0, -16.0, 0.3}, false));
    m.append(radar({16.0, -17.0, 0.3}, false));
    m.append(sandbags(Colour::Brown));
    m.append(flag({2.0, 17.0, 0.3}, false));
    m.append(box({-3.0, -8.0, 0.3}, {3.0, -2.0, 3.5}, paletteUV(Colour::DarkOlive))); // command bunker
    m.append(box({-3.4, -8.4, 3.5}, {3.4, -1.6, 4.1}, paletteUV(Colour::Olive)));
    scene.addObject("Base", m, paint);
    return scene;
}

AseScene damaged()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("BasePaint", 0.9));
    int fire = scene.addMaterial(paletteUnlit("BaseFire", 0.25));
    Mesh m = pad(Colour::Sand, Colour::Cream);
    m.append(scorch(6, 15.0, 11));
    m.append(hangar({-8.0, 8.0, 0.3}, Colour::DarkOlive, true));
    m.append(tower({12.0, 12.0, 0.3}, true));
    m.append(fuelTanks({-14.0, -16.0, 0.3}, true));
    m.append(radar({16.0, -17.0, 0.3}, true));
    m.append(sandbags(Colour::Brown));
    m.append(flag({2.0, 17.0, 0.3}, true));
    m.append(box({-3.0, -8.0, 0.3}, {3.0, -2.0, 2.0}, paletteUV(Colour::Charcoal)));
    m.append(debris(14, 16.0, 1.4, 12, Colour::DarkSteel, Colour::Brown));
    scene.addObject("Base", m, paint);
    scene.addObject("Fire", flames(7, 14.0, 7.0, 13), fire);
    return scene;
}

// The wreck grows from 1 to 2.6 times its size in 13 frames: a burst of
// fire over a blackened pad with debris thrown about.
AseScene wreck()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("WreckPaint", 0.8));
    int fire = scene.addMaterial(paletteUnlit("WreckFire", 0.3));
    int core = scene.addMaterial(paletteUnlit("WreckCore", 0.1));
    Mesh ground = pad(Colour::Brown, Colour::Charcoal);
    ground.append(scorch(9, 16.0, 21));
    ground.append(debris(26, 20.0, 1.8, 22, Colour::Charcoal, Colour::DarkSteel));
    scene.addObject("Wreck", ground, paint);
    scene
        .addObject("BurstCore", ellipsoid({9.0, 9.0, 7.0}, 12, 7, paletteUV(Colour::Yellow)), core,
                   Affine::translate({0, 0, 3.0}))
        .mesh.transform(Affine::translate({0, 0, 3.0}));
    scene.addObject("Flames", flames(16, 16.0, 16.0, 23), fire);
    return scene;
}

} // namespace

AseScene buildMilitaryBase(int look)
{
    switch (look) {
    case 0:
        return intact();
    case 1:
        return damaged();
    case 2:
        return wreck();
    }
    throw std::out_of_range("base look");
}
