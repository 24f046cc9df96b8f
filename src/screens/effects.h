#pragma once

// Effects the object steps draw for one object, on top of that object's
// placement. The steps keep the effects' progress in their records (the
// wreck's phase, the explosion's age) and pass it in; the crash keeps its
// own in DestroyHeliScene's animation, shared by all enemies, and each
// crashing enemy shows the pose its step of the animation made.

#include "math/matrix4.h"

#include <vector>

// The wreck of a destroyed base at scale e^phase: it grows by about 8% a
// frame from scale 1.
void drawWreck(float phase);

// A shot's explosion at its age: turned by age x 10 degrees about y and
// scaled by e^age.
void drawExplosion(float age);

// An enemy's crash: the crash model in the pose given, one matrix per node.
void drawCrash(const std::vector<Matrix4>& pose);
