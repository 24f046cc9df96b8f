#include "screens/loading_screen.h"

#include "game/level_teardown.h"
#include "render/scene_loading.h"
#include "render/texture_registry.h"
#include "scene/scene.h"
#include "screens/scene_drawer.h"
#include "world/level_state.h"

#include <GL/gl.h>

void drawLoadingScreen()
{
    // What a buffer holds after a swap is undefined: start from a clear one.
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-5.0f, 0.0f, -45.0f);
    DrawScene(Level.LoadingScene.get());
    glPopMatrix();
}

void uploadLevelTextures()
{
    // A scene gets its textures and lists once. Then its triangles are drawn
    // from the lists: all but the base's, which the rockets' hit test reads,
    // let their own copy go.
    bool made = false;
    auto make = [&made](Scene& scene, bool keepTriangles) {
        if (scene.texturesMade)
            return;
        uploadSceneTextures(scene);
        if (!keepTriangles)
            dropDrawnTriangles(scene);
        made = true;
    };
    if (Level.LoadingScene)
        make(*Level.LoadingScene, false);
    bool wholeLevel = true;
    for (const LevelSceneFile& file : LevelSceneFiles) {
        if (const std::unique_ptr<Scene>& scene = Level.*file.scene)
            make(*scene, file.scene == &LevelState::MilitaryBaseScene);
        else
            wholeLevel = false;
    }
    // The level's images are needed no more once its textures are made (the
    // sky's alone is 2 MB): a next game decodes them anew, on the worker.
    if (wholeLevel && !Level.ImagesForgotten) {
        for (const LevelSceneFile& file : LevelSceneFiles)
            for (const Material& material : (Level.*file.scene)->materials)
                GameTextures.forget(material.bitmap);
        Level.ImagesForgotten = true;
    }
    // What went goes back to the system in the same frame (0.1 to 1 ms),
    // before the worker's next files: handed back only at the end, the
    // loading peaked 5 MB higher.
    if (made)
        handBackFreedMemory();
}
