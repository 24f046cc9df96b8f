// The HUD layer and the effects: what they draw and where.

#include "flight_test_support.h"
#include "scene/scene.h"
#include "screens/effects.h"
#include "screens/hud.h"

#include <cmath>

using namespace flighttest;

namespace {

std::vector<float> lifeIconsX()
{
    std::vector<float> xs;
    for (const Drawn& d : Draws)
        if (d.scene == LivesScene)
            xs.push_back(d.modelview[12]);
    return xs;
}

// Blue pixels of the fuel bar's row in the 800 by 600 picture.
int bluePixelsInBarRow(int* firstX, int* lastX)
{
    int w = 0, h = 0;
    std::vector<uint8_t> pixels = headless::readPixels(&w, &h);
    const int row = 300 + 269; // the middle of 264..274 above the centre
    int count = 0;
    *firstX = -1;
    *lastX = -1;
    for (int x = 0; x < w; ++x) {
        const uint8_t* p = &pixels[(row * w + x) * 4];
        if (p[2] > 200 && p[0] < 40 && p[1] < 40) {
            if (*firstX < 0)
                *firstX = x;
            *lastX = x;
            ++count;
        }
    }
    return count;
}

} // namespace

TEST(Hud, OneIconPerLifeUpToThree)
{
    scenetest::ScratchDir dir;
    startGame();
    loadLevel();
    for (int i = 0; i < 30; ++i)
        runFrame();
    using V = std::vector<float>;
    for (auto [lives, xs] : {std::pair{0, V{}}, std::pair{1, V{280}}, std::pair{2, V{310, 280}},
                             std::pair{5, V{340, 310, 280}}}) {
        Lives = lives;
        Draws.clear();
        runFrame();
        EXPECT_EQ(lifeIconsX(), xs) << lives;
    }
}

TEST(Hud, TheHudSlidesInOverTheFirst27FramesOfAGame)
{
    scenetest::ScratchDir dir;
    startGame();
    loadLevel(); // the HUD does not run in the frame loading ends
    for (int frame = 1; frame <= 30; ++frame) {
        Draws.clear();
        runFrame();
        const float slide = frame < 27 ? -270.0f + 10 * frame : 0.0f;
        EXPECT_FLOAT_EQ(drawnAt(FuelScene).modelview[12], slide + 300) << frame;
        EXPECT_FLOAT_EQ(drawnAt(FuelScene).modelview[13], 265) << frame;
        // The panel never slides.
        EXPECT_FLOAT_EQ(drawnAt(HeliMetersScene).modelview[0], 2.5f);
        EXPECT_FLOAT_EQ(drawnAt(HeliMetersScene).modelview[12], 0);
    }
}

TEST(Hud, TheFuelBarIsABlueBandFrom257ToTheFuelLeft)
{
    scenetest::ScratchDir dir;
    startGame(false);
    loadLevel();
    for (int i = 0; i < 30; ++i)
        runFrame();
    int first = 0, last = 0;
    EXPECT_GT(bluePixelsInBarRow(&first, &last), 90);
    EXPECT_NEAR(first, 400 + 257, 1);
    EXPECT_NEAR(last, 400 + 360, 1);

    Fuel = 300.0f;
    runFrame();
    bluePixelsInBarRow(&first, &last);
    EXPECT_NEAR(last, 400 + 300, 1);

    for (float fuel : {257.0f, 250.0f}) {
        Fuel = fuel;
        runFrame();
        EXPECT_EQ(bluePixelsInBarRow(&first, &last), 0) << fuel;
    }
}

TEST(Effects, WreckAndExplosionStartAtScaleOneAndGrow)
{
    scenetest::ScratchDir dir;
    startGame();
    loadLevel();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    MilitaryBase base(Vec3{1, 2, 3});
    Draws.clear();
    wreckEffect(base);
    ASSERT_EQ(countDraws(MilitaryBase2Scene), 1);
    EXPECT_FLOAT_EQ(Draws[0].modelview[0], 1.0f);
    EXPECT_FLOAT_EQ(base.wreckPhase, 0.08f);
    wreckEffect(base);
    EXPECT_NEAR(Draws[1].modelview[5], std::exp(0.08f), 1e-6f);

    Projectile shot;
    shot.direction = Vec3{0, 0, -1};
    Draws.clear();
    explosionEffect(shot);
    ASSERT_EQ(countDraws(ExplosionScene), 1);
    EXPECT_FLOAT_EQ(Draws[0].modelview[0], 1.0f);
    EXPECT_FLOAT_EQ(Draws[0].modelview[8], 0.0f); // unrotated
    EXPECT_FLOAT_EQ(shot.direction.z, 0.0f);
    EXPECT_FLOAT_EQ(shot.age, 0.1f);
    explosionEffect(shot);
    // Turned by 1 degree about y and scaled by e^0.1.
    EXPECT_NEAR(Draws[1].modelview[0], std::exp(0.1f) * std::cos(3.14159265f / 180), 1e-5f);
    EXPECT_EQ(glprobe::modelviewDepth(), 1);
}

TEST(Effects, TheCrashPlaysUntilTheAnimationEndsThenTheEnemyIsDead)
{
    scenetest::ScratchDir dir;
    startGame();
    loadLevel();
    EnemyHeli enemy(Vec3{0, 30, -477});
    enemy.velocity = Vec3{1, -1, 0};
    enemy.firing = true;
    Draws.clear();
    crashEffect(enemy);
    EXPECT_EQ(countDraws(DestroyHeliScene), 1);
    EXPECT_FALSE(enemy.active);
    EXPECT_FLOAT_EQ(enemy.velocity.x, 0.0f);
    EXPECT_FALSE(enemy.dead);

    DestroyHeliScene->animationEnded = true;
    DestroyHeliScene->animationTime = 3.0f;
    crashEffect(enemy);
    EXPECT_EQ(countDraws(DestroyHeliScene), 1); // nothing drawn this time
    EXPECT_TRUE(enemy.dead);
    EXPECT_FALSE(enemy.firing);
    EXPECT_FALSE(DestroyHeliScene->animationEnded);
    EXPECT_FLOAT_EQ(DestroyHeliScene->animationTime, 0.0f);
}
