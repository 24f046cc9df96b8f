#include "game/level_teardown.h"

#include "game/game_state.h"
#include "game/level_loading.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"

void tearDownLevel()
{
    // The scenes with their textures, the loading screen's among them, and
    // the course file go; the bases' collider with its mesh; the loading
    // rewinds. The decoded images stay in the registry for the next game.
    Level = LevelState{};

    Game.Lives = 3;

    Process.GameActive = false;
    Process.MenuActive = true;
}
