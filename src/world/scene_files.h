#pragma once

// Scenes from the game's files: read, parsed and their images decoded.

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
