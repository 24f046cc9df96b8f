// Combat drawn through whole frames: how long a base's wreck grows, and the
// health bar's lines. What a rocket, an enemy and its crash show is pinned by
// the rules of combat (unit/combat_rules_test.cpp) and the golden combat
// frames.

#include "flight_test_support.h"
#include "screens/health_bar.h"
#include "world/process_state.h"

#include <cmath>

using namespace flighttest;

namespace {

// A game on the scripted clock in a scratch directory (no models: every
// Scene is empty, but each draw is recorded with its modelview).
void playGame()
{
    startGame();
    headless::setMilliseconds(1000);
    loadLevel();
    runFrame();
}

// The uniform scale of a recorded modelview: the length of its first column.
float scaleOf(const Drawn& d) { return std::hypot(d.modelview[0], d.modelview[1], d.modelview[2]); }

} // namespace

TEST(CombatFrames, ADestroyedBaseLeavesAWreckThatGrowsForThirteenFrames)
{
    scenetest::ScratchDir dir;
    playGame();
    Game.MilitaryBases = {MilitaryBase(Vec3{-270, 0, -20})};
    Draws.clear();
    runFrame();
    EXPECT_EQ(countDraws(Level.MilitaryBaseScene.get()), 1);
    Game.MilitaryBases[0].damage = 2;
    Draws.clear();
    runFrame();
    EXPECT_EQ(countDraws(Level.MilitaryBase1Scene.get()), 1);

    Game.MilitaryBases[0].damage = 6;
    std::vector<float> scales;
    for (int i = 0; i < 20; ++i) {
        Draws.clear();
        runFrame();
        EXPECT_EQ(countDraws(Level.MilitaryBaseScene.get()) + countDraws(Level.MilitaryBase1Scene.get()), 0);
        if (countDraws(Level.MilitaryBase2Scene.get()))
            scales.push_back(scaleOf(drawnAt(Level.MilitaryBase2Scene.get())));
    }
    ASSERT_EQ(scales.size(), 13u);
    EXPECT_NEAR(scales[0], 1.0f, 1e-5f);
    EXPECT_NEAR(scales[12], std::exp(0.96f), 1e-4f);
}

TEST(CombatFrames, AHealthBarIsGreenLinesForTheHealthThenRedForTheCapacity)
{
    headless::reset();
    headless::makeContext(64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 10, 0, 5, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    auto lines = [](HealthTriple t, int* green, int* red) {
        std::vector<GLfloat> buffer(100000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        drawHealthBar(t);
        const int n = glRenderMode(GL_RENDER);
        *green = *red = 0;
        // A line: its token, then two vertices of x, y, z and RGBA.
        for (int i = 0; i < n; i += 15) {
            EXPECT_EQ(buffer[i], GL_LINE_TOKEN);
            EXPECT_FLOAT_EQ(buffer[i + 1], buffer[i + 8]); // upright
            (buffer[i + 5] > 0.5f ? *green : *red) += 1;
        }
    };
    int green = 0, red = 0;
    lines({0, 8, 8}, &green, &red);
    EXPECT_EQ(green, 401); // 400 float steps of 0.01 stop just short of 4
    EXPECT_EQ(red, 401);
    lines({3, 2, 8}, &green, &red);
    EXPECT_EQ(green, 101); // likewise short of 1
    EXPECT_EQ(red, 401);
    lines({6, -1, 8}, &green, &red);
    EXPECT_EQ(green, 0);
}
