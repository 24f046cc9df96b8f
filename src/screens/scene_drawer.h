#pragma once

// How the game's screens draw a whole Scene: through these pointers, so that
// tests can watch what a frame draws and under which matrix. A Scene that
// was never loaded (null) draws nothing.

#include "math/matrix4.h"

#include <vector>

class Scene;

extern void (*DrawScene)(Scene* scene);

// The same for a Scene whose nodes stand in a pose of their own: pose[i] in
// place of node i's worldMatrix. An enemy's crash is drawn so, as that
// enemy's step of the shared animation left it.
extern void (*DrawPosedScene)(Scene* scene, const std::vector<Matrix4>& pose);

// What the pointers point to in the game: TextureRegistry::draw of a loaded
// Scene.
void drawLoadedScene(Scene* scene);
void drawLoadedPosedScene(Scene* scene, const std::vector<Matrix4>& pose);
