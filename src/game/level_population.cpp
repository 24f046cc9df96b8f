#include "game/level_population.h"

#include "game/game_state.h"
#include "scene/mesh_collider.h"
#include "world/level_layout.h"
#include "world/level_state.h"
#include "world/path_file.h"
#include "world/process_state.h"

#include <cstdlib>
#include <ctime>

namespace {

// The game keeps positions in floats.
Vec3 asVec3(const layout::Point& p)
{
    return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

} // namespace

void populateLevel()
{
    std::srand(static_cast<unsigned int>(std::time(nullptr)));

    // The level's fog from now on (a brown haze; the drawing sets it).
    Level.Populated = true;

    Game = GameState{};
    for (const layout::Point& spawn : layout::EnemySpawns)
        Game.EnemyHelis.emplace_back(asVec3(spawn));
    for (const layout::Point& place : layout::BasePlaces)
        Game.MilitaryBases.emplace_back(asVec3(place));

    Level.BaseCollider.bind(Level.MilitaryBaseScene.get());
    Process.HeroCollider.bind(Process.HeroHeliScene.get());

    loadPathText();

    Game.HeliPitch = 0.0f;
    Game.HeliTilt = 0.0f;
    Game.HeliRoll = 0.0f;
    Game.HeliOffsetX = 0.0f;
    Game.HeliOffsetY = -3.0f;
    Game.HeliOffsetZ = -12.0f;
}
