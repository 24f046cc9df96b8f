// The main menu driven through the real frame loop with scripted keys.

#include "headless/headless_platform.h"
#include "input/keyboard.h"
#include "scene/scene.h"
#include "screens/falling_points_image.h"
#include "screens/info_screens.h"
#include "screens/main_menu.h"
#include "shell/frame_loop.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// The game as it starts, on the generated data when the build has made it
// (without it, the scenes are empty and the logic runs all the same).
void startMenu(bool withData = true, int width = 800, int height = 600)
{
    headless::reset();
    std::filesystem::path data = KESTRAVA_DATA_DIR;
    if (withData && std::filesystem::exists(data / "main.ASE"))
        std::filesystem::current_path(data);
    headless::makeContext(width, height);
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

// Each item fires after its own spin, counting the key-press frame as 1.
// One start-up for all: Exit, which ends the program, comes last, and the
// frame in which it fires is still drawn.
TEST(MainMenu, EachItemFiresAfterItsOwnSpin)
{
    struct Item {
        char key;
        int index;
        bool (*fired)();
        int frames;
    };
    static const Item items[] = {
        {'C', CreditsItem, [] { return Process.CreditsActive; }, 54},
        {'I', InstructionsItem, [] { return Process.InstructionsActive; }, 90},
        {'S', StartGameItem, [] { return Process.LoadingActive; }, 67},
        {'E', ExitItem, [] { return headless::destroyRequested(); }, 44},
    };
    startMenu();
    for (const Item& item : items) {
        SCOPED_TRACE(item.key);
        Process.MenuActive = true;
        Process.CreditsActive = Process.InstructionsActive = Process.LoadingActive = false;
        const int swapsBefore = headless::framesSwapped();
        EXPECT_EQ(framesUntil(item.key, item.fired), item.frames);
        EXPECT_EQ(headless::framesSwapped() - swapsBefore, item.frames);
        EXPECT_EQ(Process.MenuItems[item.index].spin, 0.0f);
        if (item.key == 'S') {
            EXPECT_FALSE(Process.MenuActive);
            EXPECT_NE(Level.LoadingScene.get(), nullptr);
        }
    }
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

// The credits roll on while shown, and not in the Escape frame; a second
// visit carries on where the first left. (That the Escape which leaves a
// page returns to the menu as it was, without quitting, the golden menu
// frames show.)
TEST(MainMenu, TheCreditsRollOnFromVisitToVisit)
{
    startMenu();
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
    Process.pointsFilled = false;
    std::fill(Process.PointHeights.begin(), Process.PointHeights.end(), 0.0f);
    std::fill(Process.PointSpeeds.begin(), Process.PointSpeeds.end(), 0.0f);
    runFrame(); // draws the spacings and fills the grid
    EXPECT_TRUE(Process.pointsFilled);
    EXPECT_GE(Process.pointSpacingX, 1);
    EXPECT_LE(Process.pointSpacingX, 49);
    EXPECT_GE(Process.pointSpacingZ, 1);

    // Every grid point has its speed and moves by it; no other point was
    // filled or moves.
    const int sx = Process.pointSpacingX, sz = Process.pointSpacingZ;
    auto onGrid = [&](int k) { return (k / 1000) % sx == 0 && (k % 1000) % sz == 0; };
    static float before[FallingPointCount];
    std::copy(std::begin(Process.PointHeights), std::end(Process.PointHeights), before);
    runFrame();
    int moved = 0, stray = 0;
    for (int k = 0; k < FallingPointCount; ++k) {
        if (Process.PointHeights[k] != before[k]) {
            ++moved;
            stray += !onGrid(k);
        }
        if (onGrid(k)) {
            EXPECT_GE(Process.PointSpeeds[k], 0.01f) << k;
            EXPECT_LE(Process.PointSpeeds[k], 0.5f) << k;
        } else if (Process.PointSpeeds[k] != 0.0f || before[k] != 0.0f) {
            ++stray;
        }
    }
    EXPECT_EQ(moved, (999 / sx + 1) * (999 / sz + 1));
    EXPECT_EQ(stray, 0);
}

#if defined(__linux__)
// The arrays have room for the densest grid, but in a fresh process the
// menu's first frame writes, and so brings into memory, only the drawn
// grid's rows: each about a page of each array.
TEST(MainMenu, TheFallingPointsHoldOnlyTheirRowsInMemory)
{
    startMenu();
    runFrame(); // draws the spacings and fills the grid
    const int rows = 999 / Process.pointSpacingX + 1;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (const auto* points : {&Process.PointHeights, &Process.PointSpeeds}) {
        const size_t bytes = points->size() * sizeof(float);
        std::vector<unsigned char> resident((bytes + page - 1) / page);
        ASSERT_EQ(mincore(const_cast<float*>(points->data()), bytes, resident.data()), 0);
        const auto inMemory =
            std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; });
        EXPECT_LE(inMemory, 2 * rows)
            << "spacing " << Process.pointSpacingX << " by " << Process.pointSpacingZ;
    }
}
#endif

// What of the grid goes to GL: the points whose centre falls within the
// view's sides, widened by the margin, and in front of the eye; in grid
// order. A grid of 10 by 10 points (spacing 100, x and z from -500 to
// 400), all 300 units up but one, 400 up at x = 400, z = 400.
TEST(MainMenu, OnlyTheFallingPointsThatCanShowAreSent)
{
    const int spacingX = Process.pointSpacingX, spacingZ = Process.pointSpacingZ;
    Process.pointSpacingX = Process.pointSpacingZ = 100;
    for (int x = -500; x < 500; x += 100)
        for (int z = -500; z < 500; z += 100)
            Process.PointHeights[x * 1000 + z + 500500] = x == 400 && z == 400 ? 100.0f : 0.0f;
    auto clip = [](float sx, float sy, float zw, float w) {
        Matrix4 m;
        m.m[0] = sx, m.m[5] = sy, m.m[11] = zw, m.m[15] = w;
        return m;
    };
    struct Case {
        const char* what;
        Matrix4 clip;
        float margin;
        size_t points;
    } cases[] = {
        {"x = -500 beyond the left side, the high point above the top", clip(1 / 400.0f, 1 / 300.0f, 0, 1),
         0.0f, 9 * 10 - 1},
        {"x = -500 within the margin", clip(1 / 400.0f, 1 / 300.0f, 0, 1), 0.26f, 10 * 10 - 1},
        {"and the high point too", clip(1 / 400.0f, 1 / 300.0f, 0, 1), 0.34f, 10 * 10},
        {"behind the eye (w = z, not above 0)", clip(0, 0, 1, 0), 0.0f, 4 * 10},
    };
    std::vector<float> corners;
    for (const Case& c : cases) {
        visibleFallingPoints(c.clip, c.margin, c.margin, corners);
        EXPECT_EQ(corners.size(), 3 * c.points) << c.what;
    }
    // The last case's: z = 100 to 400 of each column, columns from the left.
    ASSERT_EQ(corners.size(), 3u * 40u);
    EXPECT_EQ(std::vector<float>(corners.begin(), corners.begin() + 6),
              (std::vector<float>{-500, 300, 100, -500, 300, 200}));
    EXPECT_EQ(std::vector<float>(corners.end() - 3, corners.end()), (std::vector<float>{400, 400, 400}));
    // At every spacing, the densest among them, the same points as a plain
    // walk over the grid, in its order, under a menu-like view.
    Matrix4 view = clip(1 / 400.0f, 1 / 300.0f, 0.002f, 0.5f);
    view.m[14] = 0.1f;
    for (int k = 0; k < FallingPointCount; ++k)
        Process.PointHeights[k] = -float(unsigned(k) * 104729u % 500u);
    for (auto [sx, sz] : {std::pair{1, 1}, {1, 7}, {3, 1}, {49, 2}}) {
        Process.pointSpacingX = sx, Process.pointSpacingZ = sz;
        std::vector<float> walked;
        for (float x = -500.0f; x < 500.0f; x += float(sx))
            for (float z = -500.0f; z < 500.0f; z += float(sz)) {
                const float y = Process.PointHeights[int(x) * 1000 + int(z) + 500500] + 300.0f;
                const float* c = view.m;
                const float w = c[3] * x + c[7] * y + c[11] * z + c[15];
                const float cx = c[0] * x + c[4] * y + c[8] * z + c[12];
                const float cy = c[1] * x + c[5] * y + c[9] * z + c[13];
                if (w > 0.0f && std::abs(cx) <= w * 1.01f && std::abs(cy) <= w * 1.01f)
                    walked.insert(walked.end(), {x, y, z});
            }
        visibleFallingPoints(view, 0.01f, 0.01f, corners);
        EXPECT_GT(walked.size(), 0u);
        EXPECT_EQ(corners, walked) << "spacing " << sx << " by " << sz;
    }
    Process.pointSpacingX = spacingX, Process.pointSpacingZ = spacingZ;
}

// At the densest spacings the points are drawn as one picture; its pixels
// are those of the same points drawn one by one, at 4:3 and with bars at
// the sides or above and below. The points' heights are spread through the
// fall, many of them alike, so that many points share window rows. Equal
// on the machines we run; the margin (0.01% of the pixels) is for a CPU
// whose rounding of window coordinates the renderer's compiled code might
// not share, a point a pixel off here and there. Without a stencil buffer
// the points are drawn one by one.
TEST(MainMenu, DenseFallingPointsAsAPictureLookAsDrawnOneByOne)
{
    // A frame's pixels; `marked` counts the pixels the picture marked in
    // the stencil buffer where the points' depths failed, round the
    // helicopter and the items (none when the points went one by one).
    int marked = 0;
    auto frame = [&marked](bool asPicture) {
        FallingPointsImageAllowed = asPicture;
        drawFrame();
        FallingPointsImageAllowed = true;
        int width = 0, height = 0;
        std::vector<uint8_t> pixels = headless::readPixels(&width, &height), stencil(pixels.size() / 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        marked = static_cast<int>(std::count(stencil.begin(), stencil.end(), 1));
        return pixels;
    };
    auto shownPoints = [](const std::vector<uint8_t>& pixels) {
        int shown = 0; // fogged white: grey above the clear colour
        for (size_t p = 0; p < pixels.size(); p += 4)
            shown += pixels[p] > 129 && pixels[p] == pixels[p + 2];
        return shown;
    };
    for (auto [width, height] : {std::pair{800, 600}, {1920, 1080}, {333, 1200}}) {
        startMenu(true, width, height);
        runFrame();
        for (auto [sx, sz] : {std::pair{1, 1}, {1, 2}, {5, 1}}) {
            Process.pointSpacingX = sx, Process.pointSpacingZ = sz;
            for (int k = 0; k < FallingPointCount; ++k)
                Process.PointHeights[k] = -float(unsigned(k) * 104729u % 500u) - float(k % 7) / 7.0f;
            const std::vector<uint8_t> picture = frame(true);
            EXPECT_GT(marked, width * height / 200);
            const std::vector<uint8_t> oneByOne = frame(false);
            int differing = 0;
            for (size_t p = 0; p < picture.size(); p += 4)
                differing += std::memcmp(&picture[p], &oneByOne[p], 4) != 0;
            EXPECT_LE(differing, width * height / 10000) << sx << " by " << sz << " at " << width;
            EXPECT_GT(shownPoints(oneByOne), width * height / 10);
        }
        releaseGame(); // its textures go with this context
    }
    headless::reset();
    headless::makeContext(800, 600, false);
    initGame();
    runFrame();
    Process.pointSpacingX = Process.pointSpacingZ = 1;
    EXPECT_TRUE(frame(true) == frame(false));
    EXPECT_GT(shownPoints(frame(true)), 800 * 600 / 10);
    EXPECT_EQ(marked, 0);
}

// Once their triangles are in display lists, the scenes of the menu, the
// instructions and the credits let their own copy go; the helicopter keeps
// its, which the enemies' bullets are tested against.
TEST(MainMenu, OnlyTheHelicopterKeepsItsTrianglesOnceTheyAreInLists)
{
    startMenu();
    ASSERT_NE(Process.MainMenuScene, nullptr);
    for (const Scene* scene : {Process.MainMenuScene.get(), Process.InstructionsScene.get(),
                               Process.Credits0Scene.get(), Process.Credits3Scene.get()}) {
        ASSERT_NE(scene, nullptr);
        SCOPED_TRACE(scene->name);
        EXPECT_GT(scene->totalFaces, 0);
        EXPECT_EQ(scene->drawListCount, static_cast<int32_t>(scene->nodes.size()));
        EXPECT_TRUE(scene->vertices.empty() && scene->faces.empty());
    }
    const Scene& hero = *Process.HeroHeliScene;
    EXPECT_EQ(hero.faces.size(), static_cast<size_t>(hero.totalFaces));
    EXPECT_EQ(hero.vertices.size(), static_cast<size_t>(hero.totalVertices));
}
