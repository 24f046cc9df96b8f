#include "materials.h"
#include "models.h"
#include "palette.h"
#include "shapes.h"

// Shots fly toward -z in their own frame.

namespace {

// y-up primitives laid along the flight, their +y end toward the nose.
Affine nosewards(V3 at) { return Affine::translate(at) * Affine::rotateX(-90.0); }

} // namespace

// A tracer round about 0.3 units long, drawn unlit so it glows.
AseScene buildBullet()
{
    AseScene scene;
    int glow = scene.addMaterial(paletteUnlit("Tracer", 0.05));
    Mesh m = ellipsoid({0.05, 0.05, 0.15}, 8, 5, paletteUV(Colour::Yellow));
    m.append(ellipsoid({0.035, 0.035, 0.1}, 6, 4, paletteUV(Colour::White)),
             Affine::translate({0, 0, -0.06}));
    scene.addObject("Bullet", m, glow);
    return scene;
}

// About 1.5 units from nose to fins, with its exhaust flame.
AseScene buildRocket()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("RocketPaint", 0.9));
    int flame = scene.addMaterial(paletteUnlit("RocketFlame", 0.2));
    Mesh body = cylinder(0.08, -0.6, 0.5, 10, paletteUV(Colour::Steel));
    body.transform(Affine::rotateX(-90.0));
    body.append(frustum(0.08, 0.08, 0.0, 0.0, 0.0, 0.3, 10, paletteUV(Colour::Red)), nosewards({0, 0, -0.5}));
    body.append(frustum(0.082, 0.082, 0.082, 0.082, 0.0, 0.1, 10, paletteUV(Colour::Yellow), false),
                nosewards({0, 0, -0.25}));
    for (int k = 0; k < 4; ++k)
        body.append(box({-0.01, 0.06, 0.35}, {0.01, 0.22, 0.62}, paletteUV(Colour::DarkSteel)),
                    Affine::rotateZ(45.0 + 90.0 * k));
    scene.addObject("Rocket", body, paint);
    Mesh fire = frustum(0.07, 0.07, 0.0, 0.0, 0.0, 0.45, 8, paletteUV(Colour::Orange));
    fire.transform(Affine::translate({0, 0, 0.62}) * Affine::rotateX(90.0));
    fire.append(frustum(0.045, 0.045, 0.0, 0.0, 0.0, 0.3, 6, paletteUV(Colour::Yellow)),
                Affine::translate({0, 0, 0.63}) * Affine::rotateX(90.0));
    scene.addObject("Exhaust", fire, flame);
    return scene;
}

// A fireball about 8 units across, spikes included: a white-hot core, a
// yellow and an orange shell and red spikes, drawn core first so the shells
// blend over it. The game turns it about y and grows it to 1.35 times for
// a bullet (which bursts 20 or 30 units ahead, beside the helicopter it
// hit: the blast must not hide the view) and 1.65 times for a rocket
// (which bursts over a base 100 to 200 units away, or at its range).
AseScene buildExplosion()
{
    AseScene scene;
    int core = scene.addMaterial(paletteUnlit("BlastCore", 0.02));
    int inner = scene.addMaterial(paletteUnlit("BlastInner", 0.25));
    int outer = scene.addMaterial(paletteUnlit("BlastOuter", 0.55));
    scene.addObject("Core", ellipsoid({1.4, 1.4, 1.4}, 10, 6, paletteUV(Colour::Cream)), core);
    scene.addObject("Inner", ellipsoid({2.4, 2.2, 2.4}, 14, 8, paletteUV(Colour::Yellow)), inner);
    Mesh shell = ellipsoid({3.6, 3.2, 3.6}, 16, 9, paletteUV(Colour::Orange));
    // Spikes along the directions of an icosahedron's corners.
    const double g = 1.618;
    const V3 dirs[12] = {{-1, g, 0},  {1, g, 0},  {-1, -g, 0}, {1, -g, 0}, {0, -1, g},  {0, 1, g},
                         {0, -1, -g}, {0, 1, -g}, {g, 0, -1},  {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
    for (const V3& d : dirs) {
        V3 up = normalized(d);
        V3 side = normalized(cross(up, std::fabs(up.y) < 0.9 ? V3{0, 1, 0} : V3{1, 0, 0}));
        Affine place = Affine::frame(side, up, cross(side, up), {0, 0, 0});
        shell.append(frustum(0.8, 0.8, 0.0, 0.0, 2.4, 4.8, 6, paletteUV(Colour::Red)), place);
    }
    scene.addObject("Outer", shell, outer);
    return scene;
}
