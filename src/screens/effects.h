#pragma once

// Effects the object steps draw for one object, under that object's
// placement. Each keeps its progress in the record it is given (the crash
// in DestroyHeliScene's animation, shared by all enemies).

struct MilitaryBase;
struct Projectile;
struct EnemyHeli;

// The wreck of a destroyed base, growing by about 8% a frame from scale 1.
void wreckEffect(MilitaryBase& base);

// Stops the shot and draws its explosion, turning and growing each frame.
void explosionEffect(Projectile& shot);

// One frame of an enemy's crash: stops it and plays the crash animation;
// in the call that finds the animation ended it rewinds the animation and
// marks the enemy dead, drawing nothing.
void crashEffect(EnemyHeli& enemy);
