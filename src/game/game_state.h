#pragma once

// The state of one game, shared by the control step, the game frame, the
// object steps and the HUD. Angles are degrees.

#include "game/records.h"
#include "world/level_layout.h"

#include <vector>

// The camera: a translation and a heading replayed from the course text.
// PathZ is the progress along the course.
extern float PathX;
extern float PathY;
extern float PathZ;
extern float PathYaw;
// 1, or 2 while the Up arrow is held: how many records a frame moves on.
extern float PathSpeed;

extern float Fuel;
extern int Lives;
extern bool GameWon;

// The hero model in eye space, independent of the camera.
extern float HeliOffsetX;
extern float HeliOffsetY;
extern float HeliOffsetZ;
extern float HeliPitch;
extern float HeliTilt;
extern float HeliRoll;
extern HealthTriple HeroHealth;

extern std::vector<MilitaryBase> MilitaryBases;
extern std::vector<EnemyHeli> EnemyHelis;
extern std::vector<Projectile> Rockets;
extern std::vector<Projectile> Bullets;

// Above this the course is finished; at or below LowFuel the game is lost.
constexpr float FinishLineZ = static_cast<float>(layout::FinishLineZ);
constexpr float LowFuel = 250.0f;

// Puts what is stored in map coordinates (map, sky, bases) into the
// camera's frame, on top of the current modelview.
void worldPlacement();

// The values every game starts from: the camera at the start of the course,
// a full tank, three lives, the hero at full health, no shots, no bases and
// no enemies.
void resetGameState();
