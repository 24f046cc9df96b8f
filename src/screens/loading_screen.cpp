#include "screens/loading_screen.h"

#include "render/scene_loading.h"
#include "scene/scene.h"
#include "screens/scene_drawer.h"
#include "world/level_state.h"

#include <GL/gl.h>

void drawLoadingScreen()
{
    // What a buffer holds after a swap is undefined: start from a clear one.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-5.0f, 0.0f, -45.0f);
    DrawScene(Level.LoadingScene.get());
    glPopMatrix();
}

void uploadLevelTextures()
{
    if (Level.LoadingScene)
        uploadSceneTextures(*Level.LoadingScene);
    for (const LevelSceneFile& file : LevelSceneFiles)
        if (const std::unique_ptr<Scene>& scene = Level.*file.scene)
            uploadSceneTextures(*scene);
}
