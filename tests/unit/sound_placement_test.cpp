// Where a sound seems to come from: quieter with distance, panned by its
// place across the picture.
#include "game/sound_events.h"

#include <gtest/gtest.h>

TEST(SoundPlacement, VolumeFallsWithDistanceAndPanFollowsThePlaceOnScreen)
{
    // The picture's right edge at depth 100: x = 100 tan(30 degrees) 4/3.
    const float edge = 76.98f;
    struct Case {
        const char* what;
        Vec4 at;
        float volume, pan;
    } cases[] = {
        {"ahead, near", {0, 0, -50, 1}, 1.0f, 0.0f},
        {"ahead at twice the full-volume distance", {0, 0, -160, 1}, 0.5f, 0.0f},
        {"above the camera, near", {0, 40, 0, 1}, 1.0f, 0.0f},
        {"at the right edge", {edge, 0, -100, 1}, 80.0f / 126.1f, 1.0f},
        {"halfway to the left edge", {-edge / 2, 0, -100, 1}, 80.0f / 107.1f, -0.5f},
        {"beyond the left edge", {-300, 0, -100, 1}, 80.0f / 316.2f, -1.0f},
        {"beside, to the right", {30, 0, 0, 1}, 1.0f, 1.0f},
        {"behind, to the left", {-10, 0, 20, 1}, 1.0f, -1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SoundEvent e = placedSound(Sound::Explosion, c.at);
        EXPECT_NEAR(e.volume, c.volume, 0.002f);
        EXPECT_NEAR(e.pan, c.pan, 0.002f);
    }
}
