// The loading screen, the population and the teardown, through whole
// frames of the real loop.

#include "flight_test_support.h"
#include "game/game_frame.h"
#include "scene/mesh_collider.h"
#include "screens/main_menu.h"
#include "world/path_file.h"
#include "world/process_state.h"

using namespace flighttest;

namespace {

int levelScenesLoaded()
{
    int n = 0;
    for (const LevelSceneFile& file : LevelSceneFiles)
        n += Level.*file.scene != nullptr;
    return n;
}

void expectFog(float r, float g, float b, float density)
{
    float colour[4];
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_NEAR(colour[0], r, 1e-3f);
    EXPECT_NEAR(colour[1], g, 1e-3f);
    EXPECT_NEAR(colour[2], b, 1e-3f);
    float d = 0;
    glGetFloatv(GL_FOG_DENSITY, &d);
    EXPECT_FLOAT_EQ(d, density);
}

} // namespace

TEST(LevelLoading, TenFramesLoadTheLevelAndTheLastStartsTheGame)
{
    scenetest::ScratchDir dir;
    startGame();
    const int depth = glprobe::modelviewDepth();
    enterLoading();

    runFrame();
    EXPECT_FLOAT_EQ(Level.LoadProgress, 0.2f);
    EXPECT_EQ(Level.LoadStep, 1u);
    EXPECT_NE(Level.MilitaryBaseScene.get(), nullptr);
    EXPECT_NE(Level.MilitaryBase1Scene.get(), nullptr);
    EXPECT_NE(Level.MilitaryBase2Scene.get(), nullptr);
    EXPECT_EQ(levelScenesLoaded(), 3);
    EXPECT_TRUE(Process.LoadingActive);

    runFrame();
    runFrame();
    runFrame();
    EXPECT_FLOAT_EQ(Level.LoadProgress, 0.9f);
    EXPECT_NE(Level.SkyScene.get(), nullptr);
    EXPECT_EQ(Level.Map2Scene.get(), nullptr);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);

    for (int i = 4; i < 9; ++i)
        runFrame();
    EXPECT_EQ(Level.DestroyHeliScene.get(), nullptr);
    EXPECT_FALSE(Process.GameActive);
    runFrame();
    EXPECT_NEAR(Level.LoadProgress, 2.1f, 1e-5f);
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
    EXPECT_TRUE(Process.GameActive);
    EXPECT_FALSE(Process.LoadingActive);
    EXPECT_FALSE(Process.MenuActive);

    // The game frame ran in the same frame, with no control step before it,
    // and left the modelview stack as the frame found it.
    EXPECT_TRUE(Game.countdownStarted);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    EXPECT_FLOAT_EQ(Game.RotorAngle, 0.0f); // no HeliRotor node in the empty hero

    // The population.
    EXPECT_EQ(Game.EnemyHelis.size(), 11u);
    EXPECT_EQ(Game.MilitaryBases.size(), 22u);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[3].spawn.x, 289.89996f);
    EXPECT_FLOAT_EQ(Game.EnemyHelis[10].position.y, 98.39953f);
    EXPECT_FLOAT_EQ(Game.MilitaryBases[21].position.y, 8383.0f);
    for (size_t k = 0; k < 11; ++k)
        EXPECT_FLOAT_EQ(Game.MilitaryBases[k].position.y, -Game.EnemyHelis[k].spawn.z) << k;
    EXPECT_EQ(Level.BaseCollider.scene, Level.MilitaryBaseScene.get());
    EXPECT_EQ(Process.HeroCollider.scene, Process.HeroHeliScene.get());
    EXPECT_FLOAT_EQ(Game.HeliOffsetY, -3.0f);
    EXPECT_FLOAT_EQ(Game.HeliOffsetZ, -12.0f);
    EXPECT_FLOAT_EQ(Game.HeroHealth.health, 8.0f);
    EXPECT_FLOAT_EQ(Game.HeroHealth.capacity, 8.0f);
}

TEST(LevelTeardown, EscapeReleasesTheLevelAndReturnsToTheMenu)
{
    scenetest::ScratchDir dir;
    scenetest::writeFile("Patho.txt", "P 0 0 30 0 0 0 40 0");
    startGame();
    const int depth = glprobe::modelviewDepth();
    loadLevel();
    runFrame();
    ASSERT_NE(Level.PathFile, nullptr);
    Game.Lives = 1;

    pressAndRelease(VK_ESCAPE);
    EXPECT_EQ(levelScenesLoaded(), 0);
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Level.PathFile, nullptr);
    EXPECT_EQ(Level.LoadStep, 0u);
    EXPECT_FLOAT_EQ(Level.LoadProgress, 0.0f);
    EXPECT_FALSE(Process.GameActive);
    EXPECT_TRUE(Process.MenuActive);
    EXPECT_EQ(Level.BaseCollider.scene, nullptr);
    // The menu's fog again in place of the level's.
    expectFog(0.5f, 0.5f, 0.5f, 0.007f);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    EXPECT_NE(Process.HeroHeliScene.get(), nullptr);

    // The menu runs on; a second Start Game loads all 22 files again.
    runFrame();
    loadLevel();
    EXPECT_TRUE(Process.GameActive);
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
}
