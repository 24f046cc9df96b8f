#include "heli_parts.h"
#include "materials.h"
#include "models.h"

// The player's helicopter, also every enemy. Two nodes: the body, whose
// pivot is the point the enemies turn about, and the rotor, whose pivot is
// the hub; the game spins it 70 degrees a frame about its local y.
AseScene buildHeroHeli()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("HeliPaint", 0.9));
    Mesh body = heli::fuselage();
    body.append(heli::canopy());
    body.append(heli::tailBoom());
    body.append(heli::tailRotor());
    body.append(heli::skids());
    body.append(heli::innerHull());
    scene.addObject("HeliBody", body, paint);
    scene.addObject("HeliRotor", heli::rotor(), paint, Affine::translate(heli::RotorHub));
    return scene;
}
