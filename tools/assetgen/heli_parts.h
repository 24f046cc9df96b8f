#pragma once

#include "mesh.h"

// The helicopter's parts in its own frame: nose toward -z, up +y, the body's
// centre at the origin, about 3.1 units long with a rotor of 3.1 across.
// Shared by the hero, the crash animation and the HUD's lives icon.
namespace heli {

constexpr V3 RotorHub{0.0, 0.8, 0.1};

Mesh fuselage(); // cabin and engine housing
Mesh canopy();   // glazing
Mesh tailBoom(); // boom, fin and stabiliser
Mesh tailRotor();
Mesh skids();
Mesh rotor(); // blades and hub, about RotorHub
// Large faces hidden inside the cabin: the hit tests accept a point near a
// face's plane inside that face's outline, so a few big faces make the
// helicopter fair to hit.
Mesh innerHull();

} // namespace heli
