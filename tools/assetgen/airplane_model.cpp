#include "materials.h"
#include "models.h"
#include "palette.h"
#include "shapes.h"

// A small propeller airplane, nose toward -z, about 6 units long. The level
// loads it but nothing draws it.
AseScene buildAirplane()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("PlanePaint", 0.9));
    Mesh m =
        lathe({{0.0, -3.2}, {0.35, -3.0}, {0.55, -2.2}, {0.55, -0.5}, {0.4, 1.5}, {0.12, 3.0}, {0.0, 3.1}},
              10, paletteUV(Colour::Steel));
    m.transform(Affine::rotateX(90.0));
    m.append(box({-3.6, -0.08, -1.6}, {3.6, 0.08, -0.4}, paletteUV(Colour::Steel)));
    m.append(box({-3.6, -0.09, -1.6}, {-3.0, 0.09, -0.4}, paletteUV(Colour::Red)));
    m.append(box({3.0, -0.09, -1.6}, {3.6, 0.09, -0.4}, paletteUV(Colour::Red)));
    m.append(box({-1.3, 0.0, 2.4}, {1.3, 0.1, 3.0}, paletteUV(Colour::Steel)));
    m.append(box({-0.05, 0.0, 2.3}, {0.05, 1.1, 3.0}, paletteUV(Colour::Red)));
    m.append(ellipsoid({0.3, 0.25, 0.6}, 8, 5, paletteUV(Colour::Glass)), Affine::translate({0, 0.45, -1.2}));
    m.append(box({-1.1, -0.05, -3.25}, {1.1, 0.05, -3.2}, paletteUV(Colour::Charcoal)));
    scene.addObject("Airplane", m, paint);
    return scene;
}
