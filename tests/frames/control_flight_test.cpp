// The control step through whole frames: steering, the fuel timer on the
// scripted clock, the won and lost gates, and the weapons.

#include "flight_test_support.h"
#include "game/game_frame.h"

#include <algorithm>
#include <cmath>

using namespace flighttest;

namespace {

// A game started at 1000 ms on the scripted clock, with the first control
// step already run.
void playGame(const std::string& course = "")
{
    if (!course.empty())
        scenetest::writeFile("Patho.txt", course);
    startGame();
    headless::setMilliseconds(1000);
    loadLevel();
    runFrame();
}

void frames(int n)
{
    for (int i = 0; i < n; ++i)
        runFrame();
}

} // namespace

// A held: the model turns by 0.4 a frame up to 40; D held, down to -40. (Left
// alone it sways between -10 and 10, as the golden countdown and flight
// frames show.)
TEST(Steering, AAndDTurnTheModelUpToForty)
{
    scenetest::ScratchDir dir;
    playGame();
    headless::setKey('A', true);
    frames(300);
    EXPECT_NEAR(Game.HeliTilt, 40.0f, 0.41f);
    headless::setKey('A', false);
    headless::setKey('D', true);
    frames(300);
    EXPECT_NEAR(Game.HeliTilt, -40.0f, 0.41f);
}

TEST(Steering, LeftHeldToTheEdgeThenTheBankReturns)
{
    scenetest::ScratchDir dir;
    playGame();
    headless::setKey(VK_LEFT, true);
    frames(10);
    EXPECT_NEAR(Game.HeliOffsetX, -1.0f, 1e-4f);
    EXPECT_NEAR(Game.HeliRoll, 4.0f, 1e-4f);
    frames(40);
    EXPECT_NEAR(Game.HeliOffsetX, -5.0f, 1e-3f);
    EXPECT_NEAR(Game.HeliRoll, 20.0f, 1e-3f);
    // The edge: no more movement, the bank falls back by 0.5 a frame.
    runFrame();
    runFrame();
    const float atEdge = Game.HeliOffsetX;
    const float roll = Game.HeliRoll;
    runFrame();
    EXPECT_FLOAT_EQ(Game.HeliOffsetX, atEdge);
    EXPECT_NEAR(Game.HeliRoll, roll - 0.5f, 1e-4f);
    // Back to within half a degree of level: the left rule takes 0.5 and
    // the released right rule gives it back once the bank is below zero.
    frames(100);
    EXPECT_LT(std::abs(Game.HeliRoll), 0.5f);

    // Released and pressed again at the edge: the bank does not grow, the
    // model stays put.
    headless::setKey(VK_LEFT, false);
    runFrame();
    headless::setKey(VK_LEFT, true);
    frames(5);
    EXPECT_FLOAT_EQ(Game.HeliOffsetX, atEdge);
    EXPECT_LT(std::abs(Game.HeliRoll), 0.5f);

    // Right from the edge banks the other way and moves back in.
    headless::setKey(VK_LEFT, false);
    headless::setKey(VK_RIGHT, true);
    frames(10);
    EXPECT_NEAR(Game.HeliOffsetX, atEdge + 1.0f, 1e-3f);
    EXPECT_LT(Game.HeliRoll, -3.0f);
    headless::setKey(VK_RIGHT, false);
    frames(20);
    EXPECT_GE(Game.HeliRoll, 0.0f - 1e-6f);
    EXPECT_LT(Game.HeliRoll, 0.5f);
}

TEST(Steering, UpAndDownTogetherUpWins)
{
    scenetest::ScratchDir dir;
    playGame();
    headless::setKey(VK_UP, true);
    headless::setKey(VK_DOWN, true);
    frames(10);
    EXPECT_NEAR(Game.HeliPitch, -4.0f, 1e-4f);
    EXPECT_FLOAT_EQ(Game.PathSpeed, 2.0f);
    frames(100);
    EXPECT_NEAR(Game.HeliPitch, -25.2f, 1e-3f); // stops past -25
    // Down alone noses up and keeps the speed Up left.
    headless::setKey(VK_UP, false);
    frames(10);
    EXPECT_NEAR(Game.HeliPitch, -21.2f, 1e-3f);
    EXPECT_FLOAT_EQ(Game.PathSpeed, 2.0f);
    headless::setKey(VK_DOWN, false);
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathSpeed, 1.0f);
    EXPECT_NEAR(Game.HeliPitch, -21.2f, 1e-3f); // no return to centre
}

TEST(Steering, WAndSMoveTheCameraWhileTheCourseWaits)
{
    scenetest::ScratchDir dir;
    playGame();
    headless::setKey('W', true);
    frames(10);
    EXPECT_NEAR(Game.PathY, -1.0f, 1e-4f);
    headless::setKey('W', false);
    headless::setKey('S', true);
    frames(5);
    EXPECT_NEAR(Game.PathY, -0.5f, 1e-4f);
}

TEST(FuelTimer, DrainsAtNineFourteenAndNineteenSeconds)
{
    scenetest::ScratchDir dir;
    playGame(); // first control step at 1000 ms
    auto at = [](uint32_t ms) {
        headless::setMilliseconds(1000 + ms);
        runFrame();
        return Game.Fuel;
    };
    EXPECT_FLOAT_EQ(at(3999), 360.0f);
    EXPECT_FLOAT_EQ(at(4000), 360.0f); // the fuel timer starts here
    EXPECT_FLOAT_EQ(at(8999), 360.0f);
    EXPECT_FLOAT_EQ(at(9000), 358.0f);
    EXPECT_FLOAT_EQ(at(13999), 358.0f);
    EXPECT_FLOAT_EQ(at(14000), 356.0f);
    EXPECT_FLOAT_EQ(at(19000), 354.0f);
    // A long stall drains once, not once per interval missed.
    EXPECT_FLOAT_EQ(at(60000), 352.0f);
}

TEST(FuelTimer, TheClockWrappingDoesNotStopTheTimer)
{
    scenetest::ScratchDir dir;
    startGame();
    headless::setMilliseconds(0xFFFFFFFFu - 2000);
    loadLevel();
    runFrame();
    headless::advanceMilliseconds(4000);
    runFrame();
    headless::advanceMilliseconds(5000);
    runFrame();
    EXPECT_FLOAT_EQ(Game.Fuel, 358.0f);
}

TEST(Gates, AtFuel250TheLostCaptionShowsAndTheControlsStop)
{
    scenetest::ScratchDir dir;
    playGame("P 0 0 30 0 0 0 40 0 0 0 50 0 0 0 60 0 0 0 70 0");
    const int depth = glprobe::modelviewDepth();
    Game.Fuel = 252.0f;
    headless::setMilliseconds(1000 + 4000);
    runFrame(); // the fuel timer starts; the course moves from here on
    const float z = Game.PathZ;
    headless::setMilliseconds(1000 + 9000);
    Draws.clear();
    runFrame(); // drains to 250 and is gated in the same step
    EXPECT_FLOAT_EQ(Game.Fuel, 250.0f);
    EXPECT_EQ(countDraws(Level.LoosingScene.get()), 1);
    EXPECT_EQ(countDraws(Level.WinningScene.get()), 0);
    EXPECT_FLOAT_EQ(Game.PathZ, z); // the course did not move
    EXPECT_EQ(glprobe::modelviewDepth(), depth);

    headless::setKey(VK_LEFT, true);
    headless::setKey(VK_SPACE, true);
    frames(5);
    EXPECT_FLOAT_EQ(Game.HeliOffsetX, 0.0f);
    EXPECT_TRUE(Game.Bullets.empty());
    EXPECT_FLOAT_EQ(Game.PathZ, z);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
    // The fuel drains on while lost.
    headless::advanceMilliseconds(5000);
    runFrame();
    EXPECT_FLOAT_EQ(Game.Fuel, 248.0f);
    EXPECT_EQ(countDraws(Level.LoosingScene.get()), 7);
}

TEST(Gates, AtPathZ7328TheWonCaptionShowsAndTheCourseStops)
{
    scenetest::ScratchDir dir;
    playGame("P 0 0 0 0 1 -2 7000 10 0 0 0 0 3 -2 7328 20 0 0 0 0 5 -2 7400 30");
    const int depth = glprobe::modelviewDepth();
    headless::setMilliseconds(1000 + 4001);
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 7000.0f);
    EXPECT_FALSE(Game.GameWon);
    Draws.clear();
    runFrame();
    EXPECT_FLOAT_EQ(Game.PathZ, 7328.0f);
    EXPECT_TRUE(Game.GameWon);
    EXPECT_EQ(countDraws(Level.WinningScene.get()), 1);
    // Gated: the course stops and the keys do nothing.
    headless::setKey(VK_RIGHT, true);
    Draws.clear();
    frames(3);
    EXPECT_FLOAT_EQ(Game.PathZ, 7328.0f);
    EXPECT_FLOAT_EQ(Game.HeliOffsetX, 0.0f);
    EXPECT_EQ(countDraws(Level.WinningScene.get()), 3);
    EXPECT_EQ(glprobe::modelviewDepth(), depth);
}

TEST(Gates, WonAndLostTogetherDrawBothWonFirst)
{
    scenetest::ScratchDir dir;
    playGame();
    Game.PathZ = 7328.0f;
    Game.Lives = 0;
    Draws.clear();
    runFrame();
    EXPECT_EQ(drawnAmong({Level.WinningScene.get(), Level.LoosingScene.get()}),
              (std::vector<Scene*>{Level.WinningScene.get(), Level.LoosingScene.get()}));
}

TEST(Weapons, CtrlHeldFiresOneRocketAndSpaceABulletEveryTwentiethFrame)
{
    scenetest::ScratchDir dir;
    playGame();
    // Shots leave their lists once their explosions end: count the shots
    // each frame launches.
    int rockets = 0, bullets = 0;
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i) {
            runFrame();
            // A shot is one step of 4 or 5 units out in its first frame.
            auto launched = [](const std::vector<Projectile>& shots) {
                return std::count_if(shots.begin(), shots.end(), [](const Projectile& s) {
                    const float dx = s.position.x - s.start.x, dy = s.position.y - s.start.y,
                                dz = s.position.z - s.start.z;
                    return !s.fresh && dx * dx + dy * dy + dz * dz < 5.5f * 5.5f;
                });
            };
            rockets += static_cast<int>(launched(Game.Rockets));
            bullets += static_cast<int>(launched(Game.Bullets));
        }
    };
    headless::setKey(VK_CONTROL, true);
    frames(30);
    EXPECT_EQ(rockets, 1);
    headless::setKey(VK_CONTROL, false);
    frames(1);
    headless::setKey(VK_CONTROL, true);
    frames(1);
    headless::setKey(VK_CONTROL, false);
    EXPECT_EQ(rockets, 2);
    ASSERT_FALSE(Game.Rockets.empty());
    EXPECT_FALSE(Game.Rockets.back().fresh); // launched in the frame it was fired
    EXPECT_FALSE(Game.Rockets.back().spent);

    headless::setKey(VK_SPACE, true);
    frames(1);
    EXPECT_EQ(bullets, 1);
    frames(19);
    EXPECT_EQ(bullets, 1);
    frames(1); // the 21st frame
    EXPECT_EQ(bullets, 2);
    frames(24); // 45 in all
    EXPECT_EQ(bullets, 3);
    // Released and held again: a bullet at once.
    headless::setKey(VK_SPACE, false);
    frames(1);
    headless::setKey(VK_SPACE, true);
    frames(1);
    EXPECT_EQ(bullets, 4);
}
