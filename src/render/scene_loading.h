#pragma once

// A Scene's images decoded, and GL textures for its materials. Decoding
// needs no GL, so the game's advance step reads the scenes of a level
// (world/scene_files.h); the drawing makes their textures before it draws,
// and deletes the textures of the scenes that went.

#include "scene/scene.h"

// Decodes every material's image into the registry (once a name for the
// process).
void decodeSceneImages(Scene& scene);

// Every material whose image is decoded gets a texture of its own, even
// where two name the same file; the nodes' copies take the id of their
// material's. Once a Scene: later calls change nothing. When the Scene goes
// its textures are retired, to be deleted by deleteRetiredTextures.
void uploadSceneTextures(Scene& scene);

// Deletes the textures of the Scenes that went since the last call. The
// drawing calls it every frame (and the game at its end): a Scene can go in
// the advance step, which makes no GL call.
void deleteRetiredTextures();
