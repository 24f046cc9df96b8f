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

TEST(CentreWindow, CentresOnALargeDisplayAndFallsBackToTheCorner)
{
    int x = -1, y = -1;
    Process.ScreenWidth = 1920;
    Process.ScreenHeight = 1040;
    centreWindow(&x, &y, 800, 600);
    EXPECT_EQ(x, 560);
    EXPECT_EQ(y, 220);

    Process.ScreenWidth = 1365; // odd halves round down
    Process.ScreenHeight = 705;
    centreWindow(&x, &y, 800, 600);
    EXPECT_EQ(x, 282);
    EXPECT_EQ(y, 52);

    // Not strictly larger in both directions: the top-left corner.
    for (auto [w, h] : {std::pair{800, 1000}, std::pair{1280, 600}, std::pair{640, 480}}) {
        Process.ScreenWidth = w;
        Process.ScreenHeight = h;
        centreWindow(&x, &y, 800, 600);
        EXPECT_EQ(x, 0) << w << "x" << h;
        EXPECT_EQ(y, 0) << w << "x" << h;
    }
}

TEST(PictureViewport, FourToThreeFillsAndWiderShapesGetBars)
{
    Viewport v = pictureViewport(800, 600);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.width, 800);
    EXPECT_EQ(v.height, 600);

    v = pictureViewport(1920, 1080); // 16:9
    EXPECT_EQ(v.width, 1440);
    EXPECT_EQ(v.height, 1080);
    EXPECT_EQ(v.x, 240);
    EXPECT_EQ(v.y, 0);

    v = pictureViewport(2560, 1080); // 21:9
    EXPECT_EQ(v.width, 1440);
    EXPECT_EQ(v.x, 560);

    v = pictureViewport(1280, 1024); // 5:4: bars above and below
    EXPECT_EQ(v.width, 1280);
    EXPECT_EQ(v.height, 960);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 32);

    v = pictureViewport(1600, 1200); // a high-density 800 by 600 window
    EXPECT_EQ(v.width, 1600);
    EXPECT_EQ(v.height, 1200);

    v = pictureViewport(0, 0); // minimised
    EXPECT_EQ(v.width, 0);
    EXPECT_EQ(v.height, 0);
}

TEST(Startup, LeavingTheDialogMakesNoWindow)
{
    headless::reset();
    headless::setDialogAnswer(false, false);
    EXPECT_EQ(gameMain(), 0);
    EXPECT_TRUE(Process.ExitRequested);
    EXPECT_FALSE(headless::windowCreated());
    EXPECT_EQ(headless::framesSwapped(), 0);
}

TEST(Startup, UnknownArgumentsAndHelpOpenNoWindowAndDemoStartsAGameByItself)
{
    headless::reset();
    EXPECT_EQ(gameMain({"--demo", "--fast"}), 2);
    EXPECT_EQ(gameMain({"--help"}), 0);
    EXPECT_FALSE(headless::windowCreated());

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

TEST(Startup, FullScreenFillsTheDesktopWithA4To3Picture)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1920, 1080);
    headless::onFrame([](int frame) {
        if (frame == 1)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_TRUE(Process.FullScreen);
    EXPECT_TRUE(headless::lastWindowFullScreen());
    EXPECT_EQ(Process.PictureViewport.x, 240);
    EXPECT_EQ(Process.PictureViewport.width, 1440);
    EXPECT_EQ(Process.PictureViewport.height, 1080);
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

TEST(DataDirectory, StaysWhereTheDataIs)
{
    ScratchTree tree;
    tree.touch(tree.root / "elsewhere" / "main.ASE");
    tree.touch(tree.root / "bin" / "data" / "main.ASE");
    EXPECT_EQ(chooseDataDirectory(), "");
    EXPECT_EQ(std::filesystem::current_path(), tree.root / "elsewhere");
}

TEST(DataDirectory, FindsTheBuildTreeThenTheInstalledPrefix)
{
    ScratchTree tree;
    tree.touch(tree.root / "share" / "kestrava" / "main.ASE");
    chooseDataDirectory();
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()),
              std::filesystem::canonical(tree.root / "share" / "kestrava"));

    std::filesystem::current_path(tree.root / "elsewhere");
    tree.touch(tree.root / "bin" / "data" / "main.ASE");
    chooseDataDirectory();
    EXPECT_EQ(std::filesystem::current_path(), tree.root / "bin" / "data");
}

TEST(DataDirectory, NoDataAnywhereLeavesTheCurrentDirectory)
{
    ScratchTree tree;
    if (std::filesystem::exists(dataDirectoryCandidates().back() + "/main.ASE"))
        GTEST_SKIP() << "the game is installed on this machine";
    std::filesystem::create_directories(tree.root / "bin" / "data"); // empty
    EXPECT_EQ(chooseDataDirectory(), "");
    EXPECT_EQ(std::filesystem::current_path(), tree.root / "elsewhere");
}

TEST(Startup, AHighDensityWindowDrawsThePictureAtItsPixelSize)
{
    // An 800 by 600 window on a display of two pixels per unit has a 1600
    // by 1200 drawable, and the picture fills all of it.
    headless::reset();
    headless::setPixelDensity(2);
    headless::onFrame([](int frame) {
        if (frame == 1)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_EQ(headless::lastWindowWidth(), 800);
    EXPECT_EQ(Process.DrawableWidth, 1600);
    EXPECT_EQ(Process.DrawableHeight, 1200);
    EXPECT_EQ(Process.PictureViewport.x, 0);
    EXPECT_EQ(Process.PictureViewport.width, 1600);
    EXPECT_EQ(Process.PictureViewport.height, 1200);
}
