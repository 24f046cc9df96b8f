// The data directory the build writes, read by the game's own reader.
#include "headless/headless_platform.h"
#include "math/matrix4.h"
#include "models.h"
#include "render/texture_registry.h"
#include "scene/animation.h"
#include "scene/damaged_files.h"
#include "scene/scene.h"
#include "world/data_files.h"
#include "world/scene_files.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

struct DataFile {
    const char* name;
    std::function<AseScene()> build;
};

const std::vector<DataFile>& dataFiles()
{
    static const std::vector<DataFile> files = {
        {"main.ASE", buildMainMenu},
        {"HeroHeli.ASE", buildHeroHeli},
        {"Loading.ASE", buildLoading},
        {"Instructions.ASE", buildInstructions},
        {"Credits0.ASE", [] { return buildCredits(0); }},
        {"Credits1.ASE", [] { return buildCredits(1); }},
        {"Credits2.ASE", [] { return buildCredits(2); }},
        {"Credits3.ASE", [] { return buildCredits(3); }},
        {"fuel.ASE", buildFuelGauge},
        {"lives.ASE", buildLivesIcon},
        {"HeliMeters.ASE", buildHeliMeters},
        {"Ready.ASE", buildReady},
        {"NumberThree.ASE", [] { return buildNumber(3); }},
        {"NumberTwo.ASE", [] { return buildNumber(2); }},
        {"NumberOne.ASE", [] { return buildNumber(1); }},
        {"Winning.ASE", buildWinning},
        {"Loosing.ASE", buildLoosing},
        {"Paused.ASE", buildPaused},
        {"MilitaryBase.ASE", [] { return buildMilitaryBase(0); }},
        {"MilitaryBase1.ASE", [] { return buildMilitaryBase(1); }},
        {"MilitaryBase2.ASE", [] { return buildMilitaryBase(2); }},
        {"bullet.ASE", buildBullet},
        {"Rocket.ASE", buildRocket},
        {"explosion.ASE", buildExplosion},
        {"DestroyHeli(1).ASE", buildDestroyHeli},
        {"Airplane0.ASE", buildAirplane},
        {"map1.ASE", [] { return buildMap(1); }},
        {"map2.ASE", [] { return buildMap(2); }},
        {"road.ASE", buildRoad},
        {"Sky.ASE", buildSky},
    };
    return files;
}

void enterDataDirectory()
{
    headless::reset();
    headless::makeContext(8, 8);
    std::filesystem::current_path(KESTRAVA_DATA_DIR);
}

} // namespace

TEST(LevelFiles, EveryFileLoadsCompleteThroughTheGamesReader)
{
    enterDataDirectory();
    // The game's list of its models is this one, and each has the nodes the
    // game looks up.
    ASSERT_EQ(dataFiles().size(), 30u);
    ASSERT_EQ(gameModelFiles().size(), dataFiles().size());
    for (size_t f = 0; f < dataFiles().size(); ++f) {
        const DataFile& file = dataFiles()[f];
        SCOPED_TRACE(file.name);
        EXPECT_STREQ(gameModelFiles()[f].name, file.name);
        ASSERT_TRUE(std::filesystem::exists(file.name));
        EXPECT_LT(std::filesystem::file_size(file.name), 6000000u);
        const std::unique_ptr<Scene> scene = loadSceneFile(file.name);
        for (const char* node : gameModelFiles()[f].requiredNodes)
            EXPECT_NE(scene->findNode(node), nullptr) << node;
        AseScene expected = file.build();
        // Everything written was read: the same nodes, vertices and faces.
        ASSERT_EQ(scene->nodeCount, expected.objects.size());
        EXPECT_EQ(scene->totalVertices, expected.totalVertices());
        EXPECT_EQ(scene->totalFaces, expected.totalFaces());
        EXPECT_LE(scene->totalVertices, MaxSceneVertices);
        EXPECT_LE(scene->totalFaces, MaxSceneFaces);
        for (uint32_t i = 0; i < scene->nodeCount; ++i) {
            EXPECT_EQ(scene->nodes[i].name, expected.objects[i].name);
            EXPECT_EQ(scene->nodes[i].faceCount, int(expected.objects[i].mesh.faces.size()));
            // The pivot each node turns about (the rotor's hub, a caption's
            // box) as written.
            const V3 pivot = expected.objects[i].tm.column(3);
            const float* at = scene->nodes[i].nodeMatrix.m;
            EXPECT_LT(std::abs(at[12] - pivot.x) + std::abs(at[13] - pivot.y) + std::abs(at[14] - pivot.z),
                      1e-3)
                << scene->nodes[i].name;
            // Every texture was found under Textures and decoded.
            const Material& m = scene->nodes[i].material;
            if (!m.bitmap.empty()) {
                EXPECT_NE(GameTextures.find(m.bitmap), nullptr) << m.bitmap;
                EXPECT_NE(m.textureId, 0u) << m.bitmap;
            }
        }
    }
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_TRUE(damagedFileReports().empty());
}

TEST(LevelFiles, CrashAnimationFallsApartAndEndsWithinTwoSeconds)
{
    enterDataDirectory();
    const std::unique_ptr<Scene> crash = loadSceneFile("DestroyHeli(1).ASE");
    ASSERT_GT(crash->nodeCount, 4u);
    SceneNode* cabin = crash->findNode("Cabin");
    ASSERT_NE(cabin, nullptr);
    Vec4 rest{cabin->position.x, cabin->position.y, cabin->position.z, 1.0f};
    AnimationCursors cursors;
    int frames = 0;
    float lowest = rest.y;
    while (!crash->animationEnded && frames < 400) {
        crash->update(cursors);
        ++frames;
        Vec4 now = transformPoint(cabin->worldMatrix, rest);
        lowest = std::min(lowest, now.y);
    }
    EXPECT_TRUE(crash->animationEnded);
    EXPECT_GE(frames, 60);
    EXPECT_LE(frames, 120);
    EXPECT_LT(lowest, rest.y - 3.0f); // the cabin falls
}
