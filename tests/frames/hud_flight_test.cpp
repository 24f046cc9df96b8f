// The HUD layer: how it slides in and the fuel bar's band down to its empty
// end. (The life icons, three down to none, are in the golden frames.)

#include "flight_test_support.h"
#include "scene/scene.h"
#include "screens/hud.h"

#include <cmath>

using namespace flighttest;

namespace {

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

TEST(Hud, TheHudSlidesInOverTheFirst27FramesOfAGame)
{
    scenetest::ScratchDir dir;
    startGame();
    loadLevel(); // the HUD does not run in the frame loading ends
    for (int frame = 1; frame <= 30; ++frame) {
        Draws.clear();
        runFrame();
        const float slide = frame < 27 ? -270.0f + 10 * frame : 0.0f;
        EXPECT_FLOAT_EQ(drawnAt(Level.FuelScene.get()).modelview[12], slide + 300) << frame;
        EXPECT_FLOAT_EQ(drawnAt(Level.FuelScene.get()).modelview[13], 265) << frame;
        // The panel never slides.
        EXPECT_FLOAT_EQ(drawnAt(Level.HeliMetersScene.get()).modelview[0], 2.5f);
        EXPECT_FLOAT_EQ(drawnAt(Level.HeliMetersScene.get()).modelview[12], 0);
    }
}

TEST(Hud, TheFuelBarIsABlueBandFrom257ToTheFuelLeft)
{
    scenetest::ScratchDir dir;
    startGame(false);
    loadLevel();
    for (int i = 0; i < 30; ++i)
        runFrame();
    struct Case {
        float fuel;
        int first, last; // -1: no band
    };
    for (const Case c : {Case{360, 400 + 257, 400 + 360}, Case{300, 400 + 257, 400 + 300}, Case{257, -1, -1},
                         Case{250, -1, -1}}) {
        SCOPED_TRACE(c.fuel);
        Game.Fuel = c.fuel;
        runFrame();
        int first = 0, last = 0;
        const int count = bluePixelsInBarRow(&first, &last);
        EXPECT_NEAR(first, c.first, 1);
        EXPECT_NEAR(last, c.last, 1);
        EXPECT_NEAR(count, c.last - c.first + (c.first >= 0), 2);
    }
}
