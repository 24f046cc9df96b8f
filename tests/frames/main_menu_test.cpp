// The main menu driven through the real frame loop with scripted keys.

#include "headless/headless_platform.h"
#include "input/keyboard.h"
#include "scene/scene.h"
#include "screens/info_screens.h"
#include "screens/main_menu.h"
#include "shell/frame_loop.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The game as it starts, on the generated data when the build has made it
// (without it, the scenes are empty and the logic runs all the same).
void startMenu(bool withData = true)
{
    headless::reset();
    std::filesystem::path data = KESTRAVA_DATA_DIR;
    if (withData && std::filesystem::exists(data / "main.ASE"))
        std::filesystem::current_path(data);
    headless::makeContext(800, 600);
    initGame();
}

// Runs frames with `vk` held down from the first of them; returns the
// number of the frame (counting the key-press frame as 1) at whose end
// `done` first holds, or 0 when it never did within `limit` frames.
template <typename Done> int framesUntil(int vk, Done done, int limit = 200)
{
    headless::setKey(vk, true);
    for (int frame = 1; frame <= limit; ++frame) {
        runFrame();
        if (frame == 1)
            headless::setKey(vk, false); // a short press
        if (done())
            return frame;
    }
    return 0;
}

} // namespace

TEST(MainMenu, EachItemFiresAfterItsOwnSpin)
{
    // One start-up for all three: Start Game, which leaves the menu for
    // good, comes last.
    startMenu();
    EXPECT_EQ(framesUntil('C', [] { return Process.CreditsActive; }), 54);

    Process.MenuActive = true;
    Process.CreditsActive = false;
    EXPECT_EQ(framesUntil('I', [] { return Process.InstructionsActive; }), 90);

    Process.MenuActive = true;
    Process.InstructionsActive = false;
    EXPECT_EQ(framesUntil('S', [] { return Process.LoadingActive; }), 67);
    EXPECT_FALSE(Process.MenuActive);
    EXPECT_NE(Level.LoadingScene.get(), nullptr);
    EXPECT_EQ(Process.MenuItems[StartGameItem].spin, 0.0f);
}

TEST(MainMenu, ExitEndsTheProgramAfterItsSpinAndTheFrameCompletes)
{
    startMenu();
    int swapsBefore = headless::framesSwapped();
    EXPECT_EQ(framesUntil('E', [] { return headless::destroyRequested(); }), 44);
    EXPECT_EQ(Process.MenuItems[ExitItem].spin, 0.0f);
    EXPECT_EQ(headless::framesSwapped() - swapsBefore, 44) << "the exit frame is still drawn";
    EXPECT_FALSE(runFrame());
}

TEST(MainMenu, EscapeQuitsAtOnceWhateverSpins)
{
    startMenu();
    headless::setKey('S', true);
    runFrame();
    headless::setKey('S', false);
    runFrame();
    headless::setKey(VK_ESCAPE, true);
    runFrame();
    EXPECT_TRUE(headless::destroyRequested());
    EXPECT_TRUE(Process.MenuActive);
}

TEST(MainMenu, OneItemSpinsAtATimeAndAHeldKeyIsOnePress)
{
    startMenu();
    headless::setKey('C', true); // held throughout
    runFrame();
    EXPECT_FLOAT_EQ(Process.MenuItems[CreditsItem].spin, 1.0f) << "the press frame adds two steps";
    headless::setKey('I', true);
    runFrame();
    EXPECT_EQ(Process.MenuItems[InstructionsItem].spin, 0.0f) << "another item's key is ignored";
    EXPECT_FLOAT_EQ(Process.MenuItems[CreditsItem].spin, 1.5f) << "holding adds one step a frame";

    // Pressing the spinning item's key again adds one extra step.
    headless::setKey('C', false);
    runFrame();
    headless::setKey('C', true);
    runFrame();
    EXPECT_FLOAT_EQ(Process.MenuItems[CreditsItem].spin, 3.0f);
}

TEST(MainMenu, ResumesAsLeftAfterTheInstructionsAndTheCreditsRollOn)
{
    startMenu();
    ASSERT_EQ(framesUntil('I', [] { return Process.InstructionsActive; }), 90);
    headless::setKey(VK_ESCAPE, true);
    runFrame();
    headless::setKey(VK_ESCAPE, false);
    EXPECT_TRUE(Process.MenuActive);
    EXPECT_FALSE(Process.InstructionsActive);
    runFrame();
    EXPECT_FALSE(headless::destroyRequested()) << "the Escape that left the page does not quit";
    for (const MenuItem& item : Process.MenuItems)
        EXPECT_EQ(item.spin, 0.0f);

    ASSERT_EQ(framesUntil('C', [] { return Process.CreditsActive; }), 54);
    for (int frame = 0; frame < 100; ++frame)
        runFrame();
    // The firing frame already shows the credits: 101 frames of rolling.
    float rolled = Process.creditsScroll;
    EXPECT_NEAR(rolled, -130.0f + 101 * 0.1f, 0.01f);
    headless::setKey(VK_ESCAPE, true);
    runFrame();
    headless::setKey(VK_ESCAPE, false);
    EXPECT_TRUE(Process.MenuActive);
    EXPECT_EQ(Process.creditsScroll, rolled) << "the Escape frame does not roll";

    ASSERT_EQ(framesUntil('C', [] { return Process.CreditsActive; }), 54);
    EXPECT_NEAR(Process.creditsScroll, rolled + 0.1f, 1e-4f) << "the second visit carries on";
}

TEST(MainMenu, TheHelicopterBobsAndItsRotorTurns)
{
    startMenu(false);
    // A sparse grid of points keeps the 1200 frames quick.
    Process.pointsFilled = true;
    Process.pointSpacingX = Process.pointSpacingZ = 49;
    std::vector<float> offsets;
    for (int frame = 0; frame < 1200; ++frame) {
        runFrame();
        offsets.push_back(Process.bobOffset);
    }
    EXPECT_FLOAT_EQ(Process.rotorAngle, -70.0f * 1200);
    // Up from 0 to 2, down to -3, up again: 200 + 500 frames, then rising.
    EXPECT_NEAR(offsets[0], 0.01f, 1e-4f);
    EXPECT_NEAR(offsets[199], 2.0f, 0.02f);
    EXPECT_LT(offsets[250], offsets[249]);
    EXPECT_NEAR(offsets[699], -3.0f, 0.03f);
    EXPECT_GT(offsets[800], offsets[799]);
    for (float offset : offsets) {
        EXPECT_LE(offset, 2.02f);
        EXPECT_GE(offset, -3.02f);
    }
}

TEST(MainMenu, TheFallingPointsFollowTheirGrid)
{
    startMenu();
    runFrame(); // fills the arrays and draws the spacings
    EXPECT_TRUE(Process.pointsFilled);
    EXPECT_GE(Process.pointSpacingX, 1);
    EXPECT_LE(Process.pointSpacingX, 49);
    EXPECT_GE(Process.pointSpacingZ, 1);

    Process.pointSpacingX = 25;
    Process.pointSpacingZ = 40;
    // Every grid point moves by its own speed; no other point does.
    static float before[FallingPointCount];
    std::copy(std::begin(Process.PointHeights), std::end(Process.PointHeights), before);
    runFrame();
    int moved = 0;
    for (int k = 0; k < FallingPointCount; ++k)
        if (Process.PointHeights[k] != before[k])
            ++moved;
    EXPECT_EQ(moved, 40 * 25);
    int first = -500 * 1000 + -500 + 500500;
    int last = 475 * 1000 + 460 + 500500;
    EXPECT_NE(Process.PointHeights[first], before[first]);
    EXPECT_NE(Process.PointHeights[last], before[last]);
    EXPECT_EQ(Process.PointHeights[last + 1], before[last + 1]);
    EXPECT_GE(Process.PointSpeeds[first], 0.01f);
    EXPECT_LE(Process.PointSpeeds[first], 0.5f);
}

TEST(MainMenu, PivotSpinTurnsAboutTheBoxPivot)
{
    SceneNode box;
    box.nodeMatrix.m[12] = 10.0f; // pivot at x = 10
    SceneNode caption;
    pivotSpin({&caption}, box, 90.0f);
    // The pivot stays put; a point one unit beyond it in x swings to -z.
    Vec4 pivot = transformPoint(caption.worldMatrix, {10, 0, 0, 1});
    EXPECT_NEAR(pivot.x, 10.0f, 1e-5f);
    Vec4 beyond = transformPoint(caption.worldMatrix, {11, 0, 0, 1});
    EXPECT_NEAR(beyond.x, 10.0f, 1e-5f);
    EXPECT_NEAR(beyond.z, -1.0f, 1e-5f);
    // Angle 0 is the identity within rounding.
    pivotSpin({&caption}, box, 0.0f);
    Matrix4 identity;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(caption.worldMatrix.m[i], identity.m[i], 1e-6f);
    EXPECT_FLOAT_EQ(spinAngle(20.0f), 400.0f);
}

namespace {

struct Frame {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;

    // Share of pixels in the rectangle (screen coordinates, y down) that
    // differ clearly from the menu's grey background.
    double busy(int x0, int y0, int x1, int y1) const
    {
        int busyCount = 0, total = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint8_t* p = &pixels[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
                int difference = std::abs(p[0] - 128) + std::abs(p[1] - 128) + std::abs(p[2] - 128);
                busyCount += difference > 40;
                ++total;
            }
        return static_cast<double>(busyCount) / total;
    }

    // Share of pixels in the rectangle that differ from another frame's.
    double changed(const Frame& other, int x0, int y0, int x1, int y1) const
    {
        int count = 0, total = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 4;
                count +=
                    std::abs(pixels[i] - other.pixels[i]) + std::abs(pixels[i + 1] - other.pixels[i + 1]) >
                    30;
                ++total;
            }
        return static_cast<double>(count) / total;
    }
};

Frame grab()
{
    Frame frame;
    frame.pixels = headless::readPixels(&frame.width, &frame.height);
    return frame;
}

bool haveData() { return std::filesystem::exists(std::filesystem::path(KESTRAVA_DATA_DIR) / "main.ASE"); }

} // namespace

TEST(MainMenuRendered, ShowsTheHelicopterAndTheItemsWhereTheModelsPutThem)
{
    if (!haveData())
        GTEST_SKIP() << "the build has not generated the game data";
    startMenu();
    Process.pointsFilled = true; // no falling points: they would speckle the regions
    Process.pointSpacingX = Process.pointSpacingZ = 49;
    runFrame();
    Frame idle = grab();
    ASSERT_EQ(idle.width, 800);

    // The helicopter hovers in the upper middle, the four items stand in a
    // column below it, and the sides are left to the background.
    EXPECT_GT(idle.busy(330, 170, 470, 290), 0.3) << "helicopter";
    const int itemTops[4] = {365, 420, 475, 530};
    for (int top : itemTops)
        EXPECT_GT(idle.busy(260, top, 540, top + 35), 0.5) << "item at y " << top;
    EXPECT_LT(idle.busy(0, 300, 200, 600), 0.02) << "left of the items";
    EXPECT_LT(idle.busy(600, 300, 800, 600), 0.02) << "right of the items";

    // Twenty frames into its spin Start Game has turned; the others stand.
    headless::setKey('S', true);
    runFrame();
    headless::setKey('S', false);
    for (int frame = 0; frame < 19; ++frame)
        runFrame();
    Frame spinning = grab();
    EXPECT_GT(spinning.changed(idle, 250, 360, 550, 410), 0.2) << "Start Game turned";
    EXPECT_LT(spinning.changed(idle, 250, 470, 550, 520), 0.02) << "Credits stood still";
}
