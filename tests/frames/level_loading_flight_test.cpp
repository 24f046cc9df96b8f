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
    Draws.clear();
    runFrame();
    EXPECT_NEAR(Level.LoadProgress, 2.1f, 1e-5f);
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
    EXPECT_TRUE(Process.GameActive);
    EXPECT_FALSE(Process.LoadingActive);
    EXPECT_FALSE(Process.MenuActive);

    // The game frame ran in the same frame, with no control step before it,
    // and left the modelview stack as the frame found it.
    EXPECT_TRUE(Game.countdownStarted);
    EXPECT_EQ(countDraws(Process.HeroHeliScene.get()), 1);
    EXPECT_EQ(countDraws(Level.Map1Scene.get()), 1);
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
    expectFog(0.65f, 0.43f, 0.1f, 0.001f);
}

TEST(LevelLoading, TheBarStretchesAlongItsOwnZAboutItsPivot)
{
    scenetest::ScratchDir dir;
    startGame();
    // A bar node whose frame sits at x = 4.
    Level.LoadingScene = scenetest::loadText(
        "*3DSMAX_ASCIIEXPORT 200\n" + scenetest::squareObject("Bar", 4.0f, scenetest::face(0, 0, 1, 2), 1,
                                                              "\t*WIREFRAME_COLOR 1 0 0\n"),
        "Loading.ASE");
    SceneNode* bar = Level.LoadingScene->findNode("Bar");
    ASSERT_NE(bar, nullptr);
    enterLoading();
    for (int i = 0; i < 4; ++i)
        runFrame();
    // 0.9 after four steps: the pivot stays, a point 1 unit along z comes
    // to 0.9, x and y keep their size.
    Vec4 pivot = transformPoint(bar->worldMatrix, Vec4{4, 0, 0, 1});
    Vec4 along = transformPoint(bar->worldMatrix, Vec4{5, 2, 1, 1});
    EXPECT_NEAR(pivot.x, 4, 1e-5f);
    EXPECT_NEAR(pivot.z, 0, 1e-5f);
    EXPECT_NEAR(along.x, 5, 1e-5f);
    EXPECT_NEAR(along.y, 2, 1e-5f);
    EXPECT_NEAR(along.z, 0.9f, 1e-5f);
    EXPECT_EQ(countDraws(Level.LoadingScene.get()), 4);
    // Drawn 45 units ahead, 5 to the left.
    EXPECT_FLOAT_EQ(drawnAt(Level.LoadingScene.get()).modelview[12], -5);
    EXPECT_FLOAT_EQ(drawnAt(Level.LoadingScene.get()).modelview[14], -45);

    for (int i = 4; i < 10; ++i)
        runFrame();
    EXPECT_NEAR(transformPoint(bar->worldMatrix, Vec4{4, 0, 1, 1}).z, 2.1f, 1e-5f);
    EXPECT_EQ(countDraws(Level.LoadingScene.get()), 10); // drawn in the last step too
}

TEST(LevelLoading, TheLoadingScreenStartsFromAClearedBuffer)
{
    scenetest::ScratchDir dir;
    startGame(false);
    // What the last swap left: red.
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    enterLoading();
    runFrame();
    int w = 0, h = 0;
    std::vector<uint8_t> pixels = headless::readPixels(&w, &h);
    ASSERT_EQ(w, 800);
    const uint8_t* corner = &pixels[(10 * w + 10) * 4];
    EXPECT_NEAR(corner[0], 128, 1);
    EXPECT_NEAR(corner[1], 128, 1);
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
    expectFog(0.5f, 0.5f, 0.5f, 0.007f);
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_EXP);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    EXPECT_NE(Process.HeroHeliScene.get(), nullptr);

    // The menu runs on; a second Start Game loads all 21 files again.
    runFrame();
    loadLevel();
    EXPECT_TRUE(Process.GameActive);
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
}
