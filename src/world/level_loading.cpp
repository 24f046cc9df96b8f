#include "world/level_loading.h"

#include "math/matrix4.h"
#include "scene/scene.h"
#include "screens/main_menu.h"
#include "screens/scene_drawer.h"
#include "shell/screen_flags.h"
#include "world/level_population.h"
#include "world/level_scenes.h"

#include <GL/gl.h>

unsigned int LoadStep = 0;
float LoadProgress = 0.0f;

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
        // Never the case through the menu; a second load without a
        // teardown must not leak the first scene.
        delete *file.scene;
        *file.scene = new Scene(file.fileName, "testname");
    }
    LoadProgress += ProgressIncrements[step];
}

// Scales the bar along the z axis of its own frame, about its pivot.
void stretchBar(SceneNode* bar, const Matrix4& barInverse)
{
    bar->worldMatrix = scaled(bar->nodeMatrix, 1.0f, 1.0f, LoadProgress) * barInverse;
}

} // namespace

void loadLevelStep()
{
    SceneNode* bar = LoadingScene ? LoadingScene->findNode("Bar") : nullptr;
    Matrix4 barInverse;
    if (bar)
        barInverse = inverse(bar->nodeMatrix);

    if (LoadStep < LoadStepCount)
        loadStepFiles(LoadStep);
    LoadStep += 1;
    if (LoadStep == LoadStepCount) {
        populateLevel();
        GameActive = true;
        LoadingActive = false;
    }

    if (bar)
        stretchBar(bar, barInverse);

    // What a buffer holds after a swap is undefined: start from a clear one.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-5.0f, 0.0f, -45.0f);
    DrawScene(LoadingScene);
    glPopMatrix();
}
