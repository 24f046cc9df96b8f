#include "world/level_population.h"

#include "game/game_reset.h"
#include "game/game_state.h"
#include "game/mesh_collider.h"
#include "shell/frame_loop.h"
#include "world/level_scenes.h"
#include "world/path_file.h"

#include <GL/gl.h>

#include <cstdlib>
#include <ctime>

namespace {

// Where the enemies wait, in the order they are met.
constexpr Vec3 EnemySpawns[] = {
    {-69.63565f, 30.0f, -477.0f},       {-10.531796f, 30.0f, -642.5f},      {33.404484f, 30.0f, -745.0f},
    {289.89996f, 30.0f, -1500.626f},    {289.52423f, 30.0f, -1497.0f},      {666.2063f, 74.0999f, -2991.0f},
    {702.5565f, 74.0999f, -3199.0f},    {711.41425f, 74.0999f, -3263.433f}, {821.9642f, 74.0999f, -4060.0f},
    {976.00433f, 133.499f, -4508.289f}, {1170.5775f, 98.39953f, -5206.0f},
};

// The bases in map coordinates; the first eleven lie under the enemies
// (map y = -z of the enemy).
constexpr Vec3 BasePlaces[] = {
    {-360.9f, 477.0f, -115.0f},    {-191.0f, 642.5f, -115.7f},   {-191.0f, 745.0f, -115.7f},
    {-53.0f, 1500.626f, -107.42f}, {87.0f, 1497.0f, -107.42f},   {444.78f, 2991.0f, -100.0f},
    {557.0f, 3199.0f, -115.0f},    {537.7f, 3263.433f, -115.7f}, {437.5f, 4060.0f, -107.0f},
    {344.0f, 4508.289f, -90.0f},   {845.5f, 5206.0f, -115.7f},   {1001.0f, 5384.0f, -115.7f},
    {543.9f, 5537.0f, 0.0f},       {446.0f, 6331.0f, 0.0f},      {877.0f, 6511.0f, 0.0f},
    {1550.0f, 6955.0f, -107.0f},   {1211.0f, 6259.0f, -105.0f},  {546.0f, 6313.0f, 0.0f},
    {1285.0f, 6995.0f, -105.0f},   {1558.0f, 8102.7f, -115.7f},  {1713.9f, 8280.9f, -115.7f},
    {1706.0f, 8383.0f, -115.7f},
};

} // namespace

void populateLevel()
{
    std::srand(static_cast<unsigned int>(std::time(nullptr)));

    // A brown haze over the landscape; mode and range stay as start-up set
    // them.
    const GLfloat fogColour[] = {0.65f, 0.43f, 0.1f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.001f);

    startFreshGame();
    for (const Vec3& spawn : EnemySpawns)
        EnemyHelis.emplace_back(spawn);
    for (const Vec3& place : BasePlaces)
        MilitaryBases.emplace_back(place);

    BaseCollider.bind(MilitaryBaseScene);
    HeroCollider.bind(HeroHeliScene);

    loadPathText();

    HeliPitch = 0.0f;
    HeliTilt = 0.0f;
    HeliRoll = 0.0f;
    HeliOffsetX = 0.0f;
    HeliOffsetY = -3.0f;
    HeliOffsetZ = -12.0f;
}
