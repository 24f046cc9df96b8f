// The game with the generated data: rendered frames (OSMesa) and a flight
// along the whole recorded course. Skipped when the data has not been
// generated into the build tree.

#include "flight_test_support.h"
#include "world/path_file.h"
#include "world/process_state.h"

#include <utility>

using namespace flighttest;

namespace {

// A frame without the scene (an owning or a plain pointer).
template <typename Pointer> std::vector<uint8_t> frameWithout(Pointer* hidden)
{
    Pointer kept = std::exchange(*hidden, nullptr);
    runFrame();
    *hidden = std::move(kept);
    int w = 0, h = 0;
    return headless::readPixels(&w, &h);
}

// Pixels that differ by more than a little in the box (x0..x1, y0..y1, row 0
// at the bottom) of the 800 by 600 picture.
int differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                if (std::abs(a[(y * 800 + x) * 4 + c] - b[(y * 800 + x) * 4 + c]) > 8) {
                    ++n;
                    break;
                }
    return n;
}

} // namespace

TEST(GameRender, ACountdownFrameShowsReadyTheTerrainTheSkyAndTheHero)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame(false);
    ASSERT_TRUE(headless::messageBoxes().empty()) << headless::messageBoxes()[0].text;
    headless::setMilliseconds(100000);
    loadLevel();
    ASSERT_TRUE(headless::messageBoxes().empty()) << headless::messageBoxes()[0].text;
    headless::setMilliseconds(100500); // "Ready"
    runFrame();

    // Each piece, taken away, changes its part of the picture. The sky's
    // angle moves on a little per frame: the same number of frames each.
    std::vector<uint8_t> all = frameWithout(&Level.AirplaneScene); // drawn by nothing
    EXPECT_GT(differing(all, frameWithout(&Level.ReadyScene), 200, 200, 600, 400), 2000) << "Ready";
    EXPECT_GT(differing(all, frameWithout(&Level.Map1Scene), 0, 0, 800, 300), 5000) << "terrain";
    EXPECT_GT(differing(all, frameWithout(&Level.SkyScene), 0, 300, 800, 600), 5000) << "sky";
    EXPECT_GT(differing(all, frameWithout(&Process.HeroHeliScene), 250, 50, 550, 300), 1000) << "hero";
}

TEST(GameRender, MidCourseTheHudStandsInItsPlace)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame(false);
    loadLevel();
    for (int frame = 0; frame < 2400; ++frame) { // fly 40 seconds unseen
        paceAt60(frame);
        runFrame(false);
    }
    ASSERT_GT(Game.PathZ, 500.0f);
    std::vector<uint8_t> all = frameWithout(&Level.AirplaneScene);
    // Top right: the fuel gauge with its blue band; bottom: the panel.
    EXPECT_GT(differing(all, frameWithout(&Level.FuelScene), 600, 520, 800, 600), 300) << "fuel gauge";
    EXPECT_GT(differing(all, frameWithout(&Level.HeliMetersScene), 0, 0, 800, 200), 2000) << "panel";
    const uint8_t* bar = &all[((300 + 269) * 800 + 400 + 300) * 4];
    EXPECT_GT(bar[2], 200);
    EXPECT_LT(bar[0], 40);
}
