// The two passes of a frame, watched through recorders in place of the
// screens' steps: which steps run, in what order, under which matrices.

#include "headless/gl_probe.h"
#include "headless/headless_platform.h"
#include "platform/platform.h"
#include "shell/frame_loop.h"
#include "shell/process_state.h"
#include "shell/startup.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Calls;
float HudProjection[16];
int HudMatrixMode = 0;
float GameProjection[16];

void record(const char* name) { Calls.emplace_back(name); }

void installRecorders()
{
    FrameSteps.menuPlacement = [] {
        record("menuPlacement");
        // The menu leaves its placement on the modelview for the drawing.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -100);
    };
    FrameSteps.control = [] {
        record("control");
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix(); // the camera, popped by the game frame
    };
    FrameSteps.hud = [] {
        record("hud");
        glprobe::projectionMatrix(HudProjection);
        HudMatrixMode = glprobe::matrixMode();
    };
    FrameSteps.menuDrawing = [] { record("menuDrawing"); };
    FrameSteps.levelLoading = [] { record("levelLoading"); };
    FrameSteps.game = [] {
        record("game");
        glprobe::projectionMatrix(GameProjection);
        glPopMatrix();
    };
    FrameSteps.credits = [] { record("credits"); };
    FrameSteps.instructions = [] { record("instructions"); };
}

void startGame()
{
    headless::reset();
    headless::makeContext(800, 600);
    installRecorders();
    initGame();
    Calls.clear();
}

void setOnly(bool& flag)
{
    Process.MenuActive = Process.LoadingActive = Process.GameActive = Process.InstructionsActive =
        Process.CreditsActive = false;
    flag = true;
}

} // namespace

TEST(FramePasses, TheFirstFrameRunsTheMenuStepsOnly)
{
    startGame();
    EXPECT_TRUE(Process.MenuActive);
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(Calls, (std::vector<std::string>{"menuPlacement", "menuDrawing"}));
    EXPECT_EQ(headless::framesSwapped(), 1);
}

TEST(FramePasses, EachScreenRunsInItsPassAndOrder)
{
    startGame();
    setOnly(Process.LoadingActive);
    runFrame();
    setOnly(Process.InstructionsActive);
    runFrame();
    setOnly(Process.CreditsActive);
    runFrame();
    EXPECT_EQ(Calls, (std::vector<std::string>{"levelLoading", "instructions", "credits"}));

    // Two flags at once (never so in the game) show the order of the
    // screen pass: credits before instructions.
    Calls.clear();
    Process.MenuActive = Process.LoadingActive = Process.CreditsActive = Process.InstructionsActive = true;
    runFrame();
    EXPECT_EQ(Calls, (std::vector<std::string>{"menuPlacement", "menuDrawing", "levelLoading", "credits",
                                               "instructions"}));
}

TEST(FramePasses, AGameFrameDrawsTheHudUnderOrthoThenTheWorldInPerspective)
{
    startGame();
    setOnly(Process.GameActive);
    int modelviewBefore = glprobe::modelviewDepth();
    ASSERT_TRUE(runFrame());
    EXPECT_EQ(Calls, (std::vector<std::string>{"control", "hud", "game"}));

    // glOrtho(-400, 400, -300, 300, -1, 1)
    EXPECT_FLOAT_EQ(HudProjection[0], 1.0f / 400);
    EXPECT_FLOAT_EQ(HudProjection[5], 1.0f / 300);
    EXPECT_FLOAT_EQ(HudProjection[10], -1.0f);
    EXPECT_EQ(HudMatrixMode, GL_MODELVIEW);

    // gluPerspective(60, 4/3, 0.1, 40000): f = 1 / tan(30 degrees)
    const float f = 1.7320508f;
    EXPECT_NEAR(GameProjection[5], f, 1e-5f);
    EXPECT_NEAR(GameProjection[0], f * 3 / 4, 1e-5f);
    EXPECT_EQ(GameProjection[11], -1.0f);

    // The ortho existed only between its push and pop: the perspective is
    // what the next frame's scene pass finds.
    float after[16];
    glprobe::projectionMatrix(after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], GameProjection[i]);
    EXPECT_EQ(glprobe::projectionDepth(), 1);
    EXPECT_EQ(glprobe::modelviewDepth(), modelviewBefore);
    EXPECT_EQ(glprobe::matrixMode(), GL_MODELVIEW);
}

TEST(FramePasses, TheScreenPassKeepsTheModelviewTheScenePassLeft)
{
    startGame();
    FrameSteps.menuDrawing = [] {
        float modelview[16];
        glprobe::modelviewMatrix(modelview);
        EXPECT_EQ(modelview[14], -100.0f);
        record("menuDrawing");
    };
    runFrame();
    EXPECT_EQ(Calls.size(), 2u);
}

TEST(FramePasses, TheViewportIsTheFourToThreePicture)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1920, 1080);
    installRecorders();
    static int viewport[4] = {};
    FrameSteps.menuDrawing = [] { glprobe::viewport(viewport); };
    headless::onFrame([](int frame) {
        if (frame == 1)
            headless::requestQuit();
    });
    EXPECT_EQ(gameMain(), 0);
    EXPECT_EQ(viewport[0], 240);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1440);
    EXPECT_EQ(viewport[3], 1080);
}

TEST(FramePasses, TheBarsBesideThePictureStayBlack)
{
    headless::reset();
    headless::setDialogAnswer(true, true);
    headless::setDesktopSize(1600, 900);
    installRecorders();
    // The menu clears to grey: only the picture may turn grey, and the
    // bars' black never becomes the game's clear colour.
    static float clearSeen[4];
    FrameSteps.menuDrawing = [] {
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clearSeen);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    };
    static std::vector<uint8_t> pixels;
    static int width = 0, height = 0;
    headless::onFrame([](int frame) {
        if (frame == 2) {
            pixels = headless::readPixels(&width, &height);
            headless::requestQuit();
        }
    });
    EXPECT_EQ(gameMain(), 0);
    ASSERT_EQ(width, 1600);
    ASSERT_EQ(height, 900);
    auto at = [](int x, int y) { return pixels[(static_cast<size_t>(y) * width + x) * 4]; };
    // picture: x 200..1399
    EXPECT_EQ(at(100, 450), 0);
    EXPECT_EQ(at(1500, 450), 0);
    EXPECT_NEAR(at(800, 450), 128, 1);
    EXPECT_NEAR(at(200, 10), 128, 1);
    EXPECT_EQ(at(199, 10), 0);
    EXPECT_FLOAT_EQ(clearSeen[0], 0.5f);
}

TEST(FramePasses, AFrameThatDestroysTheWindowCompletes)
{
    startGame();
    FrameSteps.menuPlacement = [] {
        record("menuPlacement");
        platformDestroyWindow();
    };
    EXPECT_TRUE(runFrame());
    EXPECT_EQ(Calls, (std::vector<std::string>{"menuPlacement", "menuDrawing"}));
    EXPECT_EQ(headless::framesSwapped(), 1);
    EXPECT_FALSE(runFrame());
    EXPECT_EQ(headless::framesSwapped(), 1);
}
