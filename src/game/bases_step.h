#pragma once

// The military bases of the game frame. A base shows one of three looks by
// the rocket hits it has taken: intact below 2, damaged from 2 to 5, and
// from its 6th hit a wreck that grows for 13 frames and is then gone. An
// intact or damaged base is drawn only within 275 units of depth beyond
// the course progress, with its health bar 40 units above it.

#include "game/game_view.h"
#include "math/matrix4.h"

#include <vector>

struct MilitaryBase;

constexpr float BaseDamagedFrom = 2.0f;
constexpr float BaseDestroyedAbove = 5.0f;

// One frame of a base by the game's rules under this frame's camera: its
// look, and the wreck's growth.
BaseSight baseFrame(MilitaryBase& base, const Matrix4& camera, float pathZ);

// The bases step of the game frame: every base in list order, seen into
// `sights` for the drawing (screens/game_screen.h).
void advanceBases(std::vector<BaseSight>& sights);
