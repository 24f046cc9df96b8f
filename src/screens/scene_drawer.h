#pragma once

// How the game's screens draw a whole Scene: through this pointer, so that
// tests can watch what a frame draws and under which matrix. A Scene that
// was never loaded (null) draws nothing.

class Scene;

extern void (*DrawScene)(Scene* scene);

// What DrawScene points to in the game: TextureRegistry::draw of a loaded
// Scene.
void drawLoadedScene(Scene* scene);
