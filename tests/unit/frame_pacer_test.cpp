#include "input/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A simulated display and game: each frame takes `renderMicros` to draw;
// with vsync, the swap then waits for the next vblank of a display at
// `refreshHz`. Returns the start times of the frames run in `seconds`.
std::vector<int64_t> simulate(double seconds, int refreshHz, int64_t renderMicros, int64_t stallAtMicros = -1,
                              int64_t stallMicros = 0)
{
    FramePacer pacer;
    std::vector<int64_t> starts;
    int64_t now = 1000; // any origin
    const int64_t end = now + static_cast<int64_t>(seconds * 1e6);
    bool stalled = false;
    while (now < end) {
        starts.push_back(now);
        now += renderMicros;
        if (!stalled && stallAtMicros >= 0 && now >= stallAtMicros) {
            now += stallMicros;
            stalled = true;
        }
        if (refreshHz > 0) {
            // vblanks at whole multiples of the refresh period
            double period = 1e6 / refreshHz;
            int64_t k = static_cast<int64_t>(now / period) + 1;
            now = static_cast<int64_t>(k * period);
        }
        now += pacer.delayAfterFrame(now);
    }
    return starts;
}

} // namespace

TEST(FramePacer, SixtyFramesASecondWhateverTheDisplay)
{
    // vsync at 60 Hz, a faster display with vsync, and no vsync at all
    for (int refresh : {60, 120, 144, 0}) {
        std::vector<int64_t> starts = simulate(10.0, refresh, 3000);
        EXPECT_NEAR(static_cast<double>(starts.size()), 600.0, 2.0) << refresh << " Hz";
    }
}

TEST(FramePacer, AStallDoesNotProduceABurst)
{
    // Two seconds lost one second in: afterwards frames keep their spacing
    // instead of running the 120 missed ones back to back.
    std::vector<int64_t> starts = simulate(5.0, 0, 2000, 1000000, 2000000);
    int quick = 0;
    for (size_t i = 1; i < starts.size(); ++i)
        if (starts[i] - starts[i - 1] < 10000)
            ++quick;
    EXPECT_EQ(quick, 0);
    // 1 s + 2 s of stall + 2 s: about 180 frames, not 300.
    EXPECT_NEAR(static_cast<double>(starts.size()), 180.0, 3.0);
}

TEST(FramePacer, AFrameSlightlyLateIsAbsorbed)
{
    // One frame takes 25 ms: the next starts at once, and the one after
    // that is back on the grid, so the second's count stays 60.
    FramePacer pacer;
    int64_t now = 0;
    EXPECT_EQ(pacer.delayAfterFrame(now), 16666);
    now = 16666 + 25000;
    EXPECT_EQ(pacer.delayAfterFrame(now), 0);
    now += 1000;
    EXPECT_EQ(pacer.delayAfterFrame(now), 3 * 16666 - now);
}
