#include "level_data.h"
#include "materials.h"
#include "models.h"
#include "shapes.h"
#include "textures.h"

#include <cmath>

// The road along the course and the sky round it, in map coordinates.

namespace {

constexpr double RoadHalfWidth = 7.0;
constexpr double RoadLift = 2.0; // the depth buffer is coarse far away
constexpr double RoadStep = 8.0;
constexpr double SkyRadius = 20000.0;

} // namespace

AseScene buildRoad()
{
    AseScene scene;
    int asphalt = scene.addMaterial(textureLit("Road", RoadTexture, 0.8));
    Mesh m;
    const double from = -150.0, to = 7300.0;
    double v = 0.0;
    V3 prevL, prevC, prevR;
    double prevV = 0.0;
    for (double y = from; y <= to + 1e-9; y += RoadStep) {
        double x = courseCentreX(y);
        double slope = courseCentreX(y + 0.5) - courseCentreX(y - 0.5);
        V3 across = normalized(V3{1.0, -slope, 0.0}) * RoadHalfWidth;
        // Its middle too, so it follows the ground's fold along the course.
        V3 c{x, y, drawnGroundHeight(x, y) + RoadLift};
        V3 l = c - across, r = c + across;
        l.z = drawnGroundHeight(l.x, l.y) + RoadLift;
        r.z = drawnGroundHeight(r.x, r.y) + RoadLift;
        if (y > from) {
            v += RoadStep / (2 * RoadHalfWidth) * 0.25; // the picture is four times as long as wide
            m.quad(prevL, prevC, c, l, {0, prevV}, {0.5, prevV}, {0.5, v}, {0, v});
            m.quad(prevC, prevR, r, c, {0.5, prevV}, {1, prevV}, {1, v}, {0.5, v});
        }
        prevL = l;
        prevC = c;
        prevR = r;
        prevV = v;
    }
    scene.addObject("Road", m, asphalt);
    return scene;
}

// A whole sphere, unlit, seen from inside; the game turns it slowly about
// the x axis, so it is painted all round. Centred on the map's origin, it
// holds every camera position and stays inside the far plane (40000) from
// all of them.
AseScene buildSky()
{
    AseScene scene;
    int sky = scene.addMaterial(textureUnlit("Sky", SkyTexture, 0.02));
    Mesh m = ellipsoid({SkyRadius, SkyRadius, SkyRadius}, 40, 24, {}, true);
    m.flip();
    // The picture's poles on the map's vertical.
    m.transform(Affine::rotateX(90.0));
    scene.addObject("Sky", m, sky);
    return scene;
}
