#pragma once

// Where things stand, as matrices computed on the CPU with the same
// operations, in the same order, as drawing issues them to GL. The rules of
// combat test hits with these; drawing loads them.

#include "math/matrix4.h"

struct MilitaryBase;
struct EnemyHeli;

// The camera of the current course position: turned by PathYaw about y,
// then moved by (PathX, PathY, PathZ). Turned as GL turns, to the last bit:
// the world is drawn under it.
Matrix4 cameraTransform();

// m with the map placed in it: what worldPlacement() does on the GL stack.
Matrix4 placedInWorld(const Matrix4& m);

// m moved to the base and turned by its angles about x, y and z.
Matrix4 placedAtBase(const Matrix4& m, const MilitaryBase& base);

// The hero model in eye space: at its offsets, turned by its pitch, tilt
// and roll.
Matrix4 heroTransform();

// The frame an enemy hovers in: turned by the heading the camera had when
// it engaged, then moved by that camera's translation (the anchor).
Matrix4 enemyAnchorFrame(const EnemyHeli& enemy);

// The pivot of the helicopter model (the place of its "HeliBody" node, or
// the origin without one): enemies, drawn with the hero's model, turn
// about it.
Vec4 heroPivot();

// m turned by the angles about x, then y, then z.
Matrix4 rotatedXYZ(const Matrix4& m, float x, float y, float z);

constexpr Vec4 Origin{0.0f, 0.0f, 0.0f, 1.0f};

// Degrees to radians and back as the game has always converted them for
// its own sines and cosines: with 3.14, not pi. (GL's turns are exact.)
inline float gameRadians(float degrees) { return degrees * 3.14f / 180.0f; }
inline float gameDegrees(float radians) { return radians * 180.0f / 3.14f; }
