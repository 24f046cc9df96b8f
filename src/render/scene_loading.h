#pragma once

// Scenes from the game's files: read, parsed, their images decoded, and
// given GL textures for their materials. Reading needs no GL, so the game's
// advance step reads the scenes of a level; the drawing makes their
// textures before it draws, and deletes the textures of the scenes that
// went.

#include "scene/scene.h"

#include <memory>
#include <string>

// Reads the ASE file and decodes its materials' images into the registry,
// without GL. A file that cannot be opened shows the "File %s Not Found"
// box and gives a Scene without nodes. A file from which no model comes, or
// one cut short, is reported as damaged; the warnings of a file go to
// standard error the first time it is read in the process.
std::unique_ptr<Scene> readSceneFile(const std::string& fileName, std::string name = "testname");

// readSceneFile with the textures made at once: for a GL context that is
// current (start-up, the tools, the tests).
std::unique_ptr<Scene> loadSceneFile(const std::string& fileName, std::string name = "testname");

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
