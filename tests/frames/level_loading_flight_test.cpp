// The loading screen, the population and the teardown, through whole
// frames of the real loop.

#include "flight_test_support.h"
#include "game/game_frame.h"
#include "render/texture_registry.h"
#include "scene/damaged_files.h"
#include "scene/mesh_collider.h"
#include "screens/main_menu.h"
#include "world/path_file.h"
#include "world/process_state.h"
#include "world/scene_files.h"

#include <cstring>
#include <iterator>

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

// The loading takes ten frames and the game starts in the last of them.
// Which files each step reads is pinned by the test of the damaged files
// below, the bar's growth by the golden loading frames.
TEST(LevelLoading, TenFramesLoadTheLevelAndTheLastStartsTheGame)
{
    scenetest::ScratchDir dir;
    startGame();
    const int depth = glprobe::modelviewDepth();
    enterLoading();
    for (int step = 1; step < 10; ++step) {
        runFrame();
        ASSERT_TRUE(Process.LoadingActive && !Process.GameActive) << "step " << step;
    }
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    runFrame();
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
    EXPECT_TRUE(Process.GameActive);
    EXPECT_FALSE(Process.LoadingActive);
    EXPECT_FALSE(Process.MenuActive);

    // The game frame ran in the same frame, with no control step before it,
    // and left the modelview stack as the frame found it.
    EXPECT_TRUE(Game.countdownStarted);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    EXPECT_FLOAT_EQ(Game.RotorAngle, 0.0f); // no HeliRotor node in the empty hero

    // The population: the layout's enemies and bases, the colliders bound,
    // the hero in its place with its full health.
    EXPECT_EQ(Game.EnemyHelis.size(), 11u);
    EXPECT_EQ(Game.MilitaryBases.size(), 22u);
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

// The level's files are read on a worker thread ahead of the steps that take
// them. Whether the worker was started at the Start Game key or by the first
// step, and however far ahead it ran, each step ends with the Scenes and the
// reports that reading its files in the step gives.
namespace {

void expectSameScene(const Scene& loaded, Scene& read, const std::string& file)
{
    SCOPED_TRACE(file);
    // Once in display lists, the scenes' own triangles went, all but the
    // base's, which the rockets' hit test reads.
    if (file != "MilitaryBase.ASE") {
        EXPECT_TRUE(loaded.vertices.empty() && loaded.faces.empty());
        EXPECT_EQ(loaded.drawListCount, static_cast<int32_t>(loaded.nodes.size()));
        read.vertices.clear();
        read.faces.clear();
    } else {
        EXPECT_EQ(loaded.faces.size(), static_cast<size_t>(loaded.totalFaces));
    }
    EXPECT_EQ(scenetest::difference(loaded, read), "");
    // The drawing made each material's texture, and the registry forgot the
    // image.
    for (const Material& m : loaded.materials)
        if (!m.bitmap.empty()) {
            EXPECT_NE(m.textureId, 0u) << m.bitmap;
        }
}

} // namespace

TEST(LevelLoading, ScenesReadAheadAreTheFilesAsReadInTheStep)
{
    InDataDir data;
    for (bool atStartGame : {true, false}) {
        SCOPED_TRACE(atStartGame ? "started at Start Game" : "started by the first step");
        startGame(false);
        GameTextures.clear();
        if (atStartGame)
            readLevelAhead();
        loadLevel();
        ASSERT_TRUE(Process.GameActive);
        for (const char* image : {"sky.png", "ground.png", "road.png", "palette.png"})
            EXPECT_EQ(GameTextures.find(image), nullptr) << image;
        for (const LevelSceneFile& file : LevelSceneFiles) {
            ASSERT_NE(Level.*file.scene, nullptr) << file.fileName;
            expectSameScene(*(Level.*file.scene), *readSceneFile(file.fileName), file.fileName);
        }
        EXPECT_TRUE(headless::messageBoxes().empty());
        tearDownLevel();
    }
}

// The worker reads every file at once; what went wrong is told by the step
// that takes the file, in the order of the files, as when the step read it.
TEST(LevelLoading, EachStepTellsTheMissingAndDamagedFilesItTakes)
{
    scenetest::ScratchDir dir;
    const std::string material = R"(*MATERIAL_LIST { *MATERIAL_COUNT 1
 *MATERIAL 0 { *MATERIAL_NAME "A" *MATERIAL_AMBIENT 0 0 0 *MATERIAL_DIFFUSE 1 1 1
  *MATERIAL_SPECULAR 0 0 0 *MATERIAL_SHINE 0 *MATERIAL_TRANSPARENCY 0
  *MAP_DIFFUSE { *BITMAP "C:\maps\gone.png" } } }
)";
    const std::string square =
        scenetest::squareObject("Square", 0, scenetest::face(0, 0, 1, 2), 1, "*MATERIAL_REF 0\n");
    scenetest::writeFile("MilitaryBase1.ASE", material + square);
    scenetest::writeFile("Rocket.ASE", square.substr(0, square.size() - 3)); // cut short
    scenetest::writeFile("map2.ASE", "*SCENE { }\n");                        // no model
    scenetest::writeFile("fuel.ASE", material + square);                     // the same missing image
    startGame();
    clearDamagedFileReports();
    readLevelAhead();
    enterLoading();

    auto missing = [](std::initializer_list<const char*> files) {
        std::vector<std::string> texts;
        for (const char* file : files)
            texts.push_back(std::string("File ") + file + " Not Found");
        return texts;
    };
    auto boxTexts = [] {
        std::vector<std::string> texts;
        for (const headless::MessageBox& box : headless::messageBoxes())
            texts.push_back(box.text);
        return texts;
    };
    const struct {
        std::vector<std::string> boxes;   // added by the step
        std::vector<std::string> reports; // the damaged files after it
    } steps[] = {
        {missing({"MilitaryBase.ASE", "MilitaryBase2.ASE"}), {"Textures/gone.png: missing"}},
        {missing({"bullet.ASE", "NumberOne.ASE", "NumberTwo.ASE", "NumberThree.ASE", "Ready.ASE"}), {}},
        {missing({"Airplane0.ASE"}), {"Rocket.ASE: it ends in the middle of a block, as if cut short"}},
        {missing({"map1.ASE", "Sky.ASE"}), {}},
        {missing({"HeliMeters.ASE"}), {"map2.ASE: no model could be read from it"}},
        {missing({"road.ASE"}), {}},
        {missing({"Winning.ASE", "Loosing.ASE", "Paused.ASE"}), {}},
        {missing({"lives.ASE"}), {}},
        {missing({"explosion.ASE"}), {}},
        {missing({"DestroyHeli(1).ASE"}), {"Patho.txt: missing"}},
    };
    std::vector<std::string> boxes, reports;
    for (size_t step = 0; step < std::size(steps); ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        headless::onFrame([&](int) { boxes = boxTexts(); }); // before the frame tells the damaged files
        runFrame(false);
        std::vector<std::string> expected = boxes;
        expected.insert(expected.end(), steps[step].boxes.begin(), steps[step].boxes.end());
        reports.insert(reports.end(), steps[step].reports.begin(), steps[step].reports.end());
        std::vector<std::string> now = boxTexts();
        // The damaged-file box the frame ends with, if any, comes last.
        if (!now.empty() && now.back().rfind("File ", 0) != 0)
            now.pop_back();
        EXPECT_EQ(now, expected);
        EXPECT_EQ(damagedFileReports(), reports);
    }
    headless::onFrame(nullptr);
    EXPECT_TRUE(Process.GameActive);
    clearDamagedFileReports();
}

// Leaving while the worker still reads: it stops, what it read goes, and
// the next Start Game reads the level anew.
TEST(LevelTeardown, LeavingDuringTheLoadingDropsWhatWasReadAhead)
{
    InDataDir data;
    startGame(false);
    const int menuScenes = Scene::alive();
    readLevelAhead();
    enterLoading();
    for (int step = 0; step < 3; ++step)
        runFrame();
    tearDownLevel();
    EXPECT_EQ(Scene::alive(), menuScenes);

    readLevelAhead();
    loadLevel();
    EXPECT_EQ(levelScenesLoaded(), LevelSceneCount);
    expectSameScene(*Level.Map1Scene, *readSceneFile("map1.ASE"), "map1.ASE");
    tearDownLevel();
    EXPECT_EQ(Scene::alive(), menuScenes);
}
