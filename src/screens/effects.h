#pragma once

// Effects the object steps draw for one object, on top of that object's
// placement. The steps keep the effects' progress in their records (the
// wreck's phase, the explosion's age) and pass it in; the crash keeps its
// own in DestroyHeliScene's animation, shared by all enemies.

// The wreck of a destroyed base at scale e^phase: it grows by about 8% a
// frame from scale 1.
void drawWreck(float phase);

// A shot's explosion at its age: turned by age x 10 degrees about y and
// scaled by e^age.
void drawExplosion(float age);

// One frame of an enemy's crash: the crash animation steps on and is drawn.
void drawCrash();
