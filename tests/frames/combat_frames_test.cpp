// Combat drawn through whole frames: a base's look as its damage grows, and
// how long its wreck grows. What a rocket, an enemy and its crash show, and
// the health bars, are pinned by the rules of combat (unit/
// combat_rules_test.cpp) and the golden combat frames.

#include "flight_test_support.h"
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
