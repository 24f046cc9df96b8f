#include "world/level_teardown.h"

#include "game/game_state.h"
#include "game/mesh_collider.h"
#include "scene/scene.h"
#include "shell/screen_flags.h"
#include "world/level_loading.h"
#include "world/level_scenes.h"
#include "world/path_file.h"

#include <GL/gl.h>

void tearDownLevel()
{
    // The decoded images stay in the registry for the next game.
    for (const LevelSceneFile& file : LevelSceneFiles) {
        delete *file.scene;
        *file.scene = nullptr;
    }
    // Nothing tests against a deleted mesh.
    BaseCollider.bind(nullptr);

    Lives = 3;
    closePathFile();
    LoadProgress = 0.0f;
    LoadStep = 0;

    // The fog of start-up, for the menu.
    const GLfloat fogColour[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.007f);
    glFogf(GL_FOG_START, -4000.0f);
    glFogf(GL_FOG_END, 10000.0f);

    GameActive = false;
    MenuActive = true;
}
