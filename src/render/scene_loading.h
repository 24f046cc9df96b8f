#pragma once

// Scenes from the game's files: read, parsed, and given GL textures for
// their materials.

#include "scene/scene.h"

#include <memory>
#include <string>

// Reads the ASE file and makes its materials' textures. A file that cannot
// be opened shows the "File %s Not Found" box and gives a Scene without
// nodes. A file from which no model comes, or one cut short, is reported
// as damaged; the warnings of a file go to standard error the first time
// it is read in the process.
std::unique_ptr<Scene> loadSceneFile(const std::string& fileName, std::string name = "testname");

// Every material with a bitmap gets a texture of its own, even where two
// name the same file; the Scene deletes them all when it goes. The nodes'
// copies take the id of their material's.
void uploadSceneTextures(Scene& scene);
