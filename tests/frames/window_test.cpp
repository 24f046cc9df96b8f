// Start-up, the window and the picture: the dialog's answer, the window
// request, failures, and where the 4:3 picture lands in the drawable.

#include "headless/headless_platform.h"
#include "render/viewport.h"
#include "shell/autopilot.h"
#include "shell/frame_loop.h"
#include "shell/startup.h"
#include "world/process_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

TEST(CentreWindow, CentresOnALargeDisplayAndFallsBackToTheCorner)
{
    struct Case {
        int screenWidth, screenHeight, x, y;
    };
    static const Case cases[] = {
        {1920, 1040, 560, 220},
        {1365, 705, 282, 52}, // odd halves round down
        // Not strictly larger in both directions: the top-left corner.
        {800, 1000, 0, 0},
        {1280, 600, 0, 0},
        {640, 480, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight));
        Process.ScreenWidth = c.screenWidth;
        Process.ScreenHeight = c.screenHeight;
        int x = -1, y = -1;
        centreWindow(&x, &y, 800, 600);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(PictureViewport, FourToThreeFillsAndOtherShapesGetBars)
{
    struct Case {
        const char* what;
        int width, height;
        Viewport expected;
    };
    static const Case cases[] = {
        {"4:3", 800, 600, {0, 0, 800, 600}},
        {"16:9", 1920, 1080, {240, 0, 1440, 1080}},
        {"21:9", 2560, 1080, {560, 0, 1440, 1080}},
        {"5:4, bars above and below", 1280, 1024, {0, 32, 1280, 960}},
        {"a high-density 800 by 600 window", 1600, 1200, {0, 0, 1600, 1200}},
        {"minimised", 0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Viewport v = pictureViewport(c.width, c.height);
        EXPECT_EQ(v.x, c.expected.x);
        EXPECT_EQ(v.y, c.expected.y);
        EXPECT_EQ(v.width, c.expected.width);
        EXPECT_EQ(v.height, c.expected.height);
    }
}

TEST(Startup, DemoStartsAGameByItself)
{
    // The demo player waits a second on the menu, then presses S; the item
    // spins and the level loads.
    headless::reset();
    bool loading = false;
    headless::onFrame([&](int frame) {
        loading = loading || Process.LoadingActive;
        if (frame == 400)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain({"--demo"}), 0);
    EXPECT_TRUE(autopilotOn());
    EXPECT_TRUE(loading);
    setAutopilot(false);
}

TEST(Startup, WindowedOpensACentredWindowAndRunsUntilQuit)
{
    headless::reset();
    headless::setUsableDisplay(1920, 1040);
    headless::setDialogAnswer(true, false);
    headless::onFrame([](int frame) {
        if (frame == 3)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_FALSE(Process.FullScreen);
    EXPECT_FALSE(headless::lastWindowFullScreen());
    EXPECT_EQ(headless::lastWindowWidth(), 800);
    EXPECT_EQ(headless::lastWindowHeight(), 600);
    EXPECT_EQ(headless::lastWindowX(), 560);
    EXPECT_EQ(headless::lastWindowY(), 220);
    EXPECT_TRUE(headless::cursorHidden());
    // Frames 0, 1 and 2 ran; the quit seen at the start of frame 3 ends it.
    EXPECT_EQ(headless::framesSwapped(), 3);
    EXPECT_EQ(headless::framesPaced(), 3);
    EXPECT_TRUE(Process.MenuActive);
}

// An 800 by 600 window on a display of two pixels per unit has a 1600 by
// 1200 drawable, which the picture fills. (Full screen, the drawable is the
// desktop's: the frame passes' bars test.)
TEST(Startup, ThePictureFillsTheDrawableAtItsPixelSize)
{
    headless::reset();
    headless::setDialogAnswer(true, false);
    headless::setPixelDensity(2);
    headless::onFrame([](int frame) {
        if (frame == 1)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_EQ(Process.DrawableWidth, 1600);
    EXPECT_EQ(Process.DrawableHeight, 1200);
    const Viewport& v = Process.PictureViewport;
    EXPECT_TRUE(v.x == 0 && v.y == 0 && v.width == 1600 && v.height == 1200);
}

TEST(Startup, AWindowThatCannotBeMadeIsReportedWithStatusOne)
{
    headless::reset();
    headless::failWindowCreation("The game window could not be created: no display");
    EXPECT_EQ(gameMain(), 1);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].text, "The game window could not be created: no display");
    EXPECT_EQ(headless::messageBoxes()[0].caption, "Kestrava");
    EXPECT_EQ(headless::framesSwapped(), 0);
}

namespace {

// A scratch tree: <root>/bin/ holds the "executable", <root>/bin/data/ or
// <root>/share/kestrava/ the data, <root>/elsewhere/ is where the player
// starts the game from.
struct ScratchTree {
    std::filesystem::path root;
    std::filesystem::path started;

    ScratchTree()
    {
        root = std::filesystem::temp_directory_path() /
               ("kestrava-data-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "bin");
        std::filesystem::create_directories(root / "elsewhere");
        started = std::filesystem::current_path();
        std::filesystem::current_path(root / "elsewhere");
        headless::reset();
        headless::setExecutableDir((root / "bin").string() + "/");
    }
    ~ScratchTree()
    {
        std::filesystem::current_path(started);
        std::filesystem::remove_all(root);
    }
    void touch(const std::filesystem::path& file)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "*3DSMAX_ASCIIEXPORT 200\n";
    }
};

} // namespace

TEST(DataDirectory, StaysWhereTheDataIsElseTheBuildTreeThenTheInstalledPrefix)
{
    struct Case {
        const char* what;
        std::vector<std::string> dataIn;
        std::string chosen; // where the game goes
    };
    const Case cases[] = {
        {"where it starts", {"elsewhere", "bin/data"}, "elsewhere"},
        {"installed", {"share/kestrava"}, "share/kestrava"},
        {"in the build tree and installed", {"share/kestrava", "bin/data"}, "bin/data"},
        {"nowhere", {}, "elsewhere"},
    };
    const bool installed = std::filesystem::exists(dataDirectoryCandidates().back() + "/main.ASE");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.dataIn.empty() && installed)
            continue; // the game is installed on this machine
        ScratchTree tree;
        std::filesystem::create_directories(tree.root / "bin" / "data"); // empty unless touched
        for (const std::string& dir : c.dataIn)
            tree.touch(tree.root / dir / "main.ASE");
        const std::string answer = chooseDataDirectory();
        if (c.chosen == "elsewhere") {
            EXPECT_EQ(answer, "");
        }
        EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()),
                  std::filesystem::canonical(tree.root / c.chosen));
    }
}
