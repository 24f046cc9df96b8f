#pragma once

// The enemy helicopters of the game frame. Each waits unseen at its spawn
// point until the camera comes within 75 units of it along z; then it
// sinks to the hero's height and hovers there, swaying from side to side,
// turning to face the hero and firing one bullet every 150 frames. Once the
// camera comes within 30 units of it, it keeps its place in the view. Five
// of the player's bullets bring it down: the crash animation plays once,
// and it is gone.
//
// Enemies are drawn with the hero's own model, turned to face the camera.

#include "math/matrix4.h"

class Scene;
struct EnemyHeli;

constexpr float EnemyNearZ = 75.0f;
constexpr float EnemyEngageZ = 30.0f;
constexpr float EnemyDownAt = 5.0f; // alive while the damage is below
constexpr int EnemyReloadFrames = 150;
// What a hit costs the hero grows by this with every hit.
constexpr float HeroDamagePerHit = 0.5f;

// What one enemy shows in a frame.
struct EnemySight {
    bool shown = false;     // near, or still sinking, and not dead
    bool alive = false;     // drawn as a helicopter with its health bar
    bool crashing = false;  // the crash animation instead
    Matrix4 place;          // the enemy's place in eye space: its health bar
    Matrix4 model;          // the helicopter model's frame
    bool shotShown = false; // its bullet, also after it has hit
    Matrix4 shotPlace;
};

// One frame of an enemy by the game's rules: its arrival, sway and turn,
// its crash (`crash` is the shared crash animation; without one the crash
// ends at once), its shot at the hero with the hero's damage and lives, and
// its reload. `pivot` is the point of the helicopter model it turns about.
EnemySight enemyFrame(EnemyHeli& enemy, Vec4 pivot, Scene* crash);

// The turn to face the hero, in degrees about y, for an enemy whose place
// (position plus anchor) lies dx and dz from the hero; 0 when they meet.
float turnToHero(float dx, float dz);

// The step of the game frame: every enemy in list order.
void enemiesStep();
