// The game frame: the countdown on the scripted clock, and a second game
// that starts as fresh as the first.

#include "flight_test_support.h"
#include "game/course.h"
#include "game/game_frame.h"
#include "screens/hud.h"
#include "world/process_state.h"

using namespace flighttest;

namespace {

// The captions drawn by one frame at t ms after the first game frame.
std::vector<Scene*> captionsAt(uint32_t t)
{
    headless::setMilliseconds(10000 + t);
    Draws.clear();
    runFrame();
    return drawnAmong({Level.ReadyScene.get(), Level.NumberThreeScene.get(), Level.NumberTwoScene.get(),
                       Level.NumberOneScene.get()});
}

} // namespace

TEST(Countdown, EachStageShowsItsCaptionAndTheOldOneOnceMoreAtItsBoundary)
{
    scenetest::ScratchDir dir;
    startGame();
    headless::setMilliseconds(10000);
    Draws.clear();
    loadLevel(); // the first game frame: t = 0, nothing yet
    EXPECT_TRUE(drawnAmong({Level.ReadyScene.get(), Level.NumberThreeScene.get(), Level.NumberTwoScene.get(),
                            Level.NumberOneScene.get()})
                    .empty());
    using V = std::vector<Scene*>;
    Scene* R = Level.ReadyScene.get();
    Scene* three = Level.NumberThreeScene.get();
    Scene* two = Level.NumberTwoScene.get();
    Scene* one = Level.NumberOneScene.get();
    EXPECT_EQ(captionsAt(0), V{});
    EXPECT_EQ(captionsAt(1), V{R});
    EXPECT_EQ(captionsAt(1000), V{R});
    EXPECT_EQ(captionsAt(1001), (V{R, three}));
    EXPECT_EQ(captionsAt(1500), V{three});
    EXPECT_EQ(captionsAt(2000), V{three});
    EXPECT_EQ(captionsAt(2500), (V{three, two}));
    EXPECT_EQ(captionsAt(3000), V{two});
    EXPECT_EQ(captionsAt(3001), (V{two, one}));
    EXPECT_EQ(captionsAt(3999), V{one});
    EXPECT_EQ(captionsAt(4000), V{});
    EXPECT_EQ(captionsAt(60000), V{});
}

TEST(FreshGame, EscapeAndStartGameAgainBeginAFreshGame)
{
    scenetest::ScratchDir dir;
    std::vector<Record> records;
    for (int i = 0; i < 40; ++i)
        records.push_back({0, 0, 30.0f + 10 * i, 0});
    scenetest::writeFile("Patho.txt", courseText(records));
    startGame();
    headless::setMilliseconds(1000);
    loadLevel();
    headless::setKey(VK_SPACE, true);
    headless::setKey(VK_CONTROL, true);
    for (int i = 0; i < 30; ++i) {
        headless::advanceMilliseconds(500);
        runFrame();
    }
    headless::setKey(VK_SPACE, false);
    headless::setKey(VK_CONTROL, false);
    ASSERT_GT(Game.PathZ, 100.0f);
    ASSERT_LT(Game.Fuel, 360.0f);
    ASSERT_FALSE(Game.showReady);
    ASSERT_FALSE(Game.Bullets.empty());
    Game.EnemyHelis[0].dead = true;
    Game.HeroHealth = HealthTriple{3, 1, 8};
    Game.GameWon = true;
    Game.KeyCursors.RotationKeyCursor[0] = 4;
    Game.RotorAngle = -700.0f;
    pressAndRelease(VK_ESCAPE);
    ASSERT_TRUE(Process.MenuActive);

    runFrame();
    loadLevel();
    EXPECT_FLOAT_EQ(Game.Fuel, 360.0f);
    EXPECT_FALSE(Game.GameWon);
    EXPECT_FLOAT_EQ(Game.PathZ, 24.0f);
    EXPECT_EQ(Game.EnemyHelis.size(), 11u);
    EXPECT_EQ(Game.MilitaryBases.size(), 22u);
    EXPECT_FALSE(Game.EnemyHelis[0].dead);
    EXPECT_TRUE(Game.Rockets.empty());
    EXPECT_TRUE(Game.Bullets.empty());
    EXPECT_FLOAT_EQ(Game.HeroHealth.damage, 0);
    EXPECT_FLOAT_EQ(Game.HeroHealth.health, 8);
    EXPECT_EQ(Game.KeyCursors.RotationKeyCursor[0], 0u);
    // The sky and the rotor start from 0 again: one game frame has run.
    EXPECT_FLOAT_EQ(Game.SkyAngle, 0.01f);
    EXPECT_FLOAT_EQ(Game.RotorAngle, 0.0f);  // no HeliRotor node in this hero
    EXPECT_FLOAT_EQ(Game.hudSlide, -270.0f); // slides in again

    // The countdown shows again and the course restarts at its start: the
    // first control step runs in the frame after loading.
    headless::setMilliseconds(Game.countdownStart + 500);
    Draws.clear();
    runFrame();
    EXPECT_EQ(countDraws(Level.ReadyScene.get()), 1);
    headless::setMilliseconds(Game.countdownStart + 500 + 4001);
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 40.0f);
    EXPECT_FLOAT_EQ(Game.Fuel, 360.0f); // the fuel timer started afresh too
}
