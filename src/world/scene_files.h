#pragma once

// Scenes from the game's files: read, parsed and their images decoded.

#include "render/texture_registry.h"
#include "scene/scene.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Reads the ASE file and decodes its materials' images into the registry,
// without GL. A file that cannot be opened shows the "File %s Not Found"
// box and gives a Scene without nodes. A file from which no model comes, or
// one cut short, is reported as damaged; the warnings of a file go to
// standard error the first time it is read in the process.
std::unique_ptr<Scene> readSceneFile(const std::string& fileName, std::string name = "testname");

// readSceneFile with the textures made at once: for a GL context that is
// current (start-up, the tools, the tests).
std::unique_ptr<Scene> loadSceneFile(const std::string& fileName, std::string name = "testname");

// readSceneFile in two halves. The first reads, parses and decodes the
// images the registry lacks, and touches nothing shared: it may run on a
// worker thread while the main thread writes nothing into the registry.
// The second, on the main thread, puts the images into the registry and
// tells what went wrong, as readSceneFile does.
struct SceneFileRead {
    std::string fileName;
    bool found = false;
    std::unique_ptr<Scene> scene;
    int openBlocks = 0;
    // The images, decoded aside; when not, the second half decodes them
    // into the registry (those it lacks).
    bool imagesDecoded = false;
    std::vector<DecodedTexture> images;
};
// `decodedNames`: the images already decoded for earlier files of the same
// run, which are not decoded again (and this file's, added); null leaves
// the decoding to the second half.
SceneFileRead readSceneFileAside(const std::string& fileName, std::set<std::string>* decodedNames,
                                 std::string name = "testname");
std::unique_ptr<Scene> finishSceneFile(SceneFileRead read);

// Scene files read ahead on a worker thread, in batches (the loading
// steps): the worker reads batch after batch in order, and each is handed
// over when asked for. What the worker gives depends on the files alone,
// never on the registry or on when it runs: an image the registry holds
// already is decoded again, and left out when the batch is finished.
class ScenesAhead {
  public:
    ScenesAhead() = default;
    ScenesAhead(ScenesAhead&&) noexcept = default;
    // Stops the worker (after the file it is reading) and drops its batches.
    ScenesAhead& operator=(ScenesAhead&& other) noexcept;
    ~ScenesAhead() { stop(); }

    // Starts reading the batches on a worker thread, their files in order;
    // batch i is asked for as `first + i`. Whatever was started before is
    // stopped first.
    void start(unsigned int first, std::vector<std::vector<std::string>> batches);

    // Waits for batch `number` and hands it over; nothing when no batch of
    // that number was started, or no thread could be had (the caller reads
    // the files itself).
    std::optional<std::vector<SceneFileRead>> take(unsigned int number);

  private:
    struct Work;
    void stop();

    unsigned int first_ = 0;
    std::shared_ptr<Work> work_;
    std::thread worker_;
};
