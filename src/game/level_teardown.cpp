#include "game/level_teardown.h"

#include "game/game_state.h"
#include "game/level_loading.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// glibc keeps what a level freed (in the worker's arena too) for later
// allocations, and a second game peaked that much above the first. Given
// back, the next level starts from where the menu was.
void handBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void tearDownLevel()
{
    // The scenes with their textures, the loading screen's among them, and
    // the course file go; the bases' collider with its mesh; the loading
    // rewinds (a worker still reading the level stops).
    Level = LevelState{};
    handBackFreedMemory();

    Game.Lives = 3;

    Process.GameActive = false;
    Process.MenuActive = true;
}
