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

#include "game/game_view.h"
#include "math/matrix4.h"

#include <vector>

class Scene;
struct EnemyHeli;

constexpr float EnemyNearZ = 75.0f;
constexpr float EnemyEngageZ = 30.0f;
constexpr float EnemyDownAt = 5.0f; // alive while the damage is below
constexpr int EnemyReloadFrames = 150;
// What a hit costs the hero grows by this with every hit.
constexpr float HeroDamagePerHit = 0.5f;

// One frame of an enemy by the game's rules: its arrival, sway and turn,
// its crash (`crash` is the shared crash animation, which steps on once
// for each crashing enemy; without one the crash ends at once), its shot at
// the hero with the hero's damage and lives, and its reload. `pivot` is the
// point of the helicopter model it turns about.
EnemySight enemyFrame(EnemyHeli& enemy, Vec4 pivot, Scene* crash);

// The turn to face the hero, in degrees about y, for an enemy whose place
// (position plus anchor) lies dx and dz from the hero; 0 when they meet.
float turnToHero(float dx, float dz);

// The enemies step of the game frame: every enemy in list order, seen into
// `sights` for the drawing (screens/game_screen.h).
void advanceEnemies(std::vector<EnemySight>& sights);
