#include "world/scene_files.h"

#include "input/platform.h"
#include "render/scene_loading.h"
#include "scene/ase_text.h"
#include "scene/damaged_files.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <set>
#include <system_error>

namespace {

// Each file's warnings are told once in the process, however often the
// game loads it; the data check tells them its own way.
void tellWarnings(const std::string& fileName, const std::vector<std::string>& warnings)
{
    static std::set<std::string> told;
    if (warnings.empty() || damageReportsQuiet() || !told.insert(fileName).second)
        return;
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "kestrava: %s: %s\n", fileName.c_str(), warning.c_str());
}

} // namespace

SceneFileRead readSceneFileAside(const std::string& fileName, std::set<std::string>* decodedNames,
                                 std::string name)
{
    SceneFileRead read;
    read.fileName = fileName;
    AseText text;
    read.found = text.readFile(fileName);
    if (!read.found) {
        read.scene = std::make_unique<Scene>();
        return read;
    }
    read.scene = parseScene(text, std::move(name), &read.openBlocks);
    if (decodedNames) {
        read.images = decodeSceneImagesAside(*read.scene, decodedNames);
        read.imagesDecoded = true;
    }
    return read;
}

std::unique_ptr<Scene> finishSceneFile(SceneFileRead read)
{
    const std::string& fileName = read.fileName;
    if (!read.found) {
        const std::string message = "File " + fileName + " Not Found";
        platformErrorBox(message.c_str(), "ZaraZadu Error");
        return std::move(read.scene);
    }
    if (read.imagesDecoded)
        addDecodedImages(std::move(read.images));
    else
        decodeSceneImages(*read.scene);

    const Scene& scene = *read.scene;
    if (scene.nodeCount == 0)
        reportDamagedFile(fileName, "no model could be read from it");
    else if (read.openBlocks > 0)
        reportDamagedFile(fileName, "it ends in the middle of a block, as if cut short");
    tellWarnings(fileName, scene.warnings);
    return std::move(read.scene);
}

std::unique_ptr<Scene> readSceneFile(const std::string& fileName, std::string name)
{
    return finishSceneFile(readSceneFileAside(fileName, nullptr, std::move(name)));
}

std::unique_ptr<Scene> loadSceneFile(const std::string& fileName, std::string name)
{
    std::unique_ptr<Scene> scene = readSceneFile(fileName, std::move(name));
    uploadSceneTextures(*scene);
    return scene;
}

struct ScenesAhead::Work {
    std::vector<std::vector<std::string>> batches;
    // Filled by the worker in order; `done` counts the batches filled.
    std::vector<std::vector<SceneFileRead>> read;
    std::vector<bool> taken;
    size_t done = 0;
    bool stopping = false;
    std::mutex mutex;
    std::condition_variable filled;
};

ScenesAhead& ScenesAhead::operator=(ScenesAhead&& other) noexcept
{
    stop();
    first_ = other.first_;
    work_ = std::move(other.work_);
    worker_ = std::move(other.worker_);
    return *this;
}

void ScenesAhead::stop()
{
    if (work_) {
        std::lock_guard<std::mutex> lock(work_->mutex);
        work_->stopping = true;
    }
    if (worker_.joinable())
        worker_.join();
    work_.reset();
}

void ScenesAhead::start(unsigned int first, std::vector<std::vector<std::string>> batches)
{
    stop();
    first_ = first;
    auto work = std::make_shared<Work>();
    work->read.resize(batches.size());
    work->taken.resize(batches.size());
    work->batches = std::move(batches);
    try {
        worker_ = std::thread([work] {
            // One set for the whole run: an image two batches name is
            // decoded once, for the first.
            std::set<std::string> decodedNames;
            for (size_t b = 0; b < work->batches.size(); ++b) {
                std::vector<SceneFileRead> files;
                for (const std::string& fileName : work->batches[b]) {
                    {
                        std::lock_guard<std::mutex> lock(work->mutex);
                        if (work->stopping)
                            return;
                    }
                    files.push_back(readSceneFileAside(fileName, &decodedNames));
                }
                std::lock_guard<std::mutex> lock(work->mutex);
                work->read[b] = std::move(files);
                work->done = b + 1;
                work->filled.notify_all();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: the taker reads the files itself.
        return;
    }
    work_ = std::move(work);
}

std::optional<std::vector<SceneFileRead>> ScenesAhead::take(unsigned int number)
{
    if (!work_ || number < first_ || number - first_ >= work_->batches.size())
        return std::nullopt;
    const size_t b = number - first_;
    std::unique_lock<std::mutex> lock(work_->mutex);
    if (work_->taken[b])
        return std::nullopt;
    work_->filled.wait(lock, [&] { return work_->done > b; });
    work_->taken[b] = true;
    return std::move(work_->read[b]);
}
