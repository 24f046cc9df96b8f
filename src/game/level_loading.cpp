#include "game/level_loading.h"

#include "game/level_population.h"
#include "math/matrix4.h"
#include "render/scene_loading.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"
#include "world/scene_files.h"

namespace {

constexpr unsigned int LoadStepCount = 10;

// Fixed per step, not measured: the big map files get the big shares.
constexpr float ProgressIncrements[LoadStepCount] = {0.2f, 0.1f, 0.1f,  0.5f,  0.5f,
                                                     0.4f, 0.1f, 0.05f, 0.05f, 0.1f};

void loadStepFiles(unsigned int step)
{
    for (const LevelSceneFile& file : LevelSceneFiles) {
        if (file.loadStep != step)
            continue;
        // A second load without a teardown (never the case through the
        // menu) frees the first scene before it reads the file again.
        std::unique_ptr<Scene>& scene = Level.*file.scene;
        scene.reset();
        scene = readSceneFile(file.fileName);
    }
    Level.LoadProgress += ProgressIncrements[step];
}

// Scales the bar along the z axis of its own frame, about its pivot.
void stretchBar(SceneNode* bar, const Matrix4& barInverse)
{
    bar->worldMatrix = scaled(bar->nodeMatrix, 1.0f, 1.0f, Level.LoadProgress) * barInverse;
}

} // namespace

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
