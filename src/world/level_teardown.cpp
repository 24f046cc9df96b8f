#include "world/level_teardown.h"

#include "game/game_state.h"
#include "game/mesh_collider.h"
#include "scene/scene.h"
#include "screens/main_menu.h"
#include "shell/frame_loop.h"
#include "shell/screen_flags.h"
#include "world/level_loading.h"
#include "world/level_scenes.h"
#include "world/path_file.h"

void tearDownLevel()
{
    // The decoded images stay in the registry for the next game.
    for (const LevelSceneFile& file : LevelSceneFiles) {
        delete *file.scene;
        *file.scene = nullptr;
    }
    deleteLoadingScene();
    // Nothing tests against a deleted mesh.
    BaseCollider.bind(nullptr);

    Game.Lives = 3;
    closePathFile();
    LoadProgress = 0.0f;
    LoadStep = 0;

    setMenuFog();

    GameActive = false;
    MenuActive = true;
}
