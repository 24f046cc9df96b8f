#pragma once

// The drawing of a game frame: what its advance step left in Game.View,
// under the camera the control step computed. Only reads the state.

#include "game/game_view.h"

#include <vector>

class Scene;

// The won or lost caption, the countdown, the world, the bases, enemies and
// shots, then the hero with its health bar.
void drawGameFrame();

// The world under the camera: the sky turned by SkyAngle and drawn without
// fog, then the map halves and the road.
void drawWorld();

// Puts what is stored in map coordinates (map, sky, bases) into the
// camera's frame, on top of the current modelview.
void worldPlacement();

// Each object as its step saw it.
void drawBases(const std::vector<BaseSight>& sights);
void drawEnemies(const std::vector<EnemySight>& sights);
// With `model` (RocketScene or BulletScene) for the shots in flight.
void drawShots(const std::vector<ShotSight>& sights, Scene* model);
