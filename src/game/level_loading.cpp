#include "game/level_loading.h"

#include "game/level_population.h"
#include "math/matrix4.h"
#include "render/scene_loading.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"
#include "world/scene_files.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr unsigned int LoadStepCount = LevelLoadSteps;

// Fixed per step, not measured: the big map files get the big shares.
constexpr float ProgressIncrements[LoadStepCount] = {0.2f, 0.1f, 0.1f,  0.5f,  0.5f,
                                                     0.4f, 0.1f, 0.05f, 0.05f, 0.1f};

std::vector<std::string> stepFileNames(unsigned int step)
{
    std::vector<std::string> names;
    for (const LevelSceneFile& file : LevelSceneFiles)
        if (file.loadStep == step)
            names.emplace_back(file.fileName);
    return names;
}

// Starts the worker on the files of the steps from `step` on.
void readStepsAhead(unsigned int step)
{
    std::vector<std::vector<std::string>> batches;
    for (unsigned int later = step; later < LoadStepCount; ++later)
        batches.push_back(stepFileNames(later));
    Level.Ahead.start(step, std::move(batches));
}

void loadStepFiles(unsigned int step)
{
    std::optional<std::vector<SceneFileRead>> ahead = Level.Ahead.take(step);
    if (!ahead) {
        readStepsAhead(step);
        ahead = Level.Ahead.take(step);
    }
    std::vector<std::unique_ptr<Scene>> scenes;
    if (ahead) {
        for (SceneFileRead& read : *ahead)
            scenes.push_back(finishSceneFile(std::move(read)));
    } else {
        for (const std::string& name : stepFileNames(step))
            scenes.push_back(readSceneFile(name));
    }

    size_t next = 0;
    for (const LevelSceneFile& file : LevelSceneFiles) {
        if (file.loadStep != step)
            continue;
        // A second load without a teardown (never the case through the
        // menu) frees the first scene before it takes the new one.
        std::unique_ptr<Scene>& scene = Level.*file.scene;
        scene.reset();
        scene = std::move(scenes[next++]);
    }
    Level.LoadProgress += ProgressIncrements[step];
}

// Scales the bar along the z axis of its own frame, about its pivot.
void stretchBar(SceneNode* bar, const Matrix4& barInverse)
{
    bar->worldMatrix = scaled(bar->nodeMatrix, 1.0f, 1.0f, Level.LoadProgress) * barInverse;
}

} // namespace

void readLevelAhead() { readStepsAhead(0); }

void loadLevelStep()
{
    SceneNode* bar = Level.LoadingScene ? Level.LoadingScene->findNode("Bar") : nullptr;
    Matrix4 barInverse;
    if (bar)
        barInverse = inverse(bar->nodeMatrix);

    if (Level.LoadStep < LoadStepCount)
        loadStepFiles(Level.LoadStep);
    Level.LoadStep += 1;
    if (Level.LoadStep == LoadStepCount) {
        populateLevel();
        Process.GameActive = true;
        Process.LoadingActive = false;
    }

    if (bar)
        stretchBar(bar, barInverse);
}
