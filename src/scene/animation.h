#pragma once

// Key-frame playback for Scene::update. The game animates one Scene at a
// time, so the key cursors are shared by node index across Scenes (the game
// keeps one set for a game, in its GameState). A Scene with more nodes than the
// cursors animates only its first MaxAnimatedNodes nodes.
//
// Time comes from the calls, not from the key times: animationTime grows by
// AnimationTimeStep per call, and a step from one key to the next is
// complete in the call that finds it beyond 1 (five calls). A key whose time
// is 0 is passed over; the others only count. A node's tracks may differ in
// length: the ones that end first hold their last key until all have ended,
// and then the node starts over from where its first keys start.

#include "math/matrix4.h"

struct SceneNode;

constexpr int MaxAnimatedNodes = 100;
constexpr double AnimationTimeStep = 0.3;

// Each node's next key of each track, by node index.
struct AnimationCursors {
    unsigned int RotationKeyCursor[MaxAnimatedNodes] = {};
    unsigned int PositionKeyCursor[MaxAnimatedNodes] = {};
    unsigned int ScaleKeyCursor[MaxAnimatedNodes] = {};
};

// A node's matrix after a step of the given move, scale and turn: the step
// about the node's own pivot, after the steps before it,
// nodeMatrix * position * scale * rotation * nodeMatrix^-1 * animationMatrix.
Matrix4 steppedMatrix(const SceneNode& node, const Matrix4& position, const Matrix4& scale,
                      const Matrix4& rotation);
