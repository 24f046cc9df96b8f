#include "shell/frame_loop.h"

#include "shell/autopilot.h"
#include "shell/settings.h"

#include "game/control_step.h"
#include "game/game_frame.h"
#include "game/game_state.h"
#include "game/level_loading.h"
#include "game/level_teardown.h"
#include "game/pause.h"
#include "input/gamepad.h"
#include "input/keyboard.h"
#include "input/platform.h"
#include "render/scene_loading.h"
#include "render/viewport.h"
#include "scene/damaged_files.h"
#include "scene/scene.h"
#include "screens/game_overlays.h"
#include "screens/game_screen.h"
#include "screens/hud.h"
#include "screens/info_screens.h"
#include "screens/loading_screen.h"
#include "screens/main_menu.h"
#include "world/level_state.h"
#include "world/process_state.h"
#include "world/scene_files.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <initializer_list>

// Constant-initialised: a copy taken during start-up finds it filled.
constinit ScreenSteps FrameSteps = {
    .menuPlacement = [](uint32_t) { menuPlacementStep(); },
    .control = controlStep,
    .hud = {[](uint32_t) { advanceHud(); }, drawHudLayer},
    .menu = {[](uint32_t) { advanceMenu(); }, drawMenu},
    .levelLoading = {[](uint32_t) { loadLevelStep(); }, drawLoadingScreen},
    .game = {advanceGameFrame, drawGameFrame},
    .credits = {[](uint32_t) { advanceCredits(); }, drawCreditsScreen},
    .instructions = {[](uint32_t) { advanceInstructions(); }, drawInstructionsScreen},
};

void setupLight()
{
    const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[] = {0.0f, 10.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void setMenuFog()
{
    // Exponential grey fog; start and end are set although GL_EXP ignores
    // them.
    const GLfloat fogColour[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.007f);
    glFogf(GL_FOG_START, -4000.0f);
    glFogf(GL_FOG_END, 10000.0f);
}

void setLevelFog()
{
    const GLfloat fogColour[] = {0.65f, 0.43f, 0.1f, 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.001f);
}

namespace {
void followDrawable();
void usePictureView();
} // namespace

void initGame()
{
    platformHideCursor();
    Process.MenuActive = true;

    // The scenes that live for the whole process, in this order: the menu
    // (main.ASE), the hero helicopter (HeroHeli.ASE), then the instructions
    // and the four credits scenes.
    Process.MainMenuScene = loadSceneFile("main.ASE");
    Process.HeroHeliScene = loadSceneFile("HeroHeli.ASE");
    loadInstructionsScene();
    loadCreditsScenes();

    glEnable(GL_TEXTURE_2D);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    setMenuFog();

    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);

    setupLight();

    // What the menu's falling points need from GL is read before the first
    // frame, in the first frame's view.
    followDrawable();
    const Viewport& picture = Process.PictureViewport;
    glScissor(picture.x, picture.y, picture.width, picture.height);
    glEnable(GL_SCISSOR_TEST);
    usePictureView();
    prepareMenuDrawing();

    // Their triangles are in display lists now; only the hero's stay, for
    // the hit test of the enemies' bullets.
    for (const std::unique_ptr<Scene>* scene :
         {&Process.MainMenuScene, &Process.InstructionsScene, &Process.Credits0Scene, &Process.Credits1Scene,
          &Process.Credits2Scene, &Process.Credits3Scene})
        if (*scene)
            dropDrawnTriangles(**scene);
    handBackFreedMemory();
}

void releaseGame()
{
    for (std::unique_ptr<Scene>* scene :
         {&Process.MainMenuScene, &Process.HeroHeliScene, &Process.InstructionsScene, &Process.Credits0Scene,
          &Process.Credits1Scene, &Process.Credits2Scene, &Process.Credits3Scene})
        scene->reset();
    Process.HeroCollider.bind(nullptr);
    Level = LevelState{};
    deleteRetiredTextures();
}

void toggleMute()
{
    Process.Muted = !Process.Muted;
    const std::string path = settingsPath();
    Settings settings = loadSettings(path);
    settings.muted = Process.Muted;
    saveSettings(path, settings);
}

void advanceFrame(uint32_t now)
{
    FrameShows& shows = Process.Shows;
    shows = FrameShows{};
    if (Process.MenuActive)
        FrameSteps.menuPlacement(now);
    // A paused game stands still: its last frame is drawn again, with the
    // caption over it.
    if (Process.GameActive && pauseStep(now)) {
        shows.hud = shows.game = shows.paused = true;
        return;
    }
    // The game's own steps run on the game's clock, which stopped while
    // the game was paused. It is read as each step's turn comes: the
    // loading's last step starts a new game, with a clock of its own.
    if (Process.GameActive)
        FrameSteps.control(gameMilliseconds(now));
    // Each flag is read when its screen's turn comes: a step that switches
    // screens hands over within the frame.
    const auto run = [](bool active, bool& shown, const ScreenStep& step, uint32_t clock) {
        if (!active)
            return;
        shown = true;
        step.advance(clock);
    };
    run(Process.GameActive, shows.hud, FrameSteps.hud, gameMilliseconds(now));
    run(Process.MenuActive, shows.menu, FrameSteps.menu, now);
    run(Process.LoadingActive, shows.loading, FrameSteps.levelLoading, now);
    run(Process.GameActive, shows.game, FrameSteps.game, gameMilliseconds(now));
    run(Process.CreditsActive, shows.credits, FrameSteps.credits, now);
    run(Process.InstructionsActive, shows.instructions, FrameSteps.instructions, now);
}

namespace {

// The controller's buttons and sticks as keys, beside the demo player's.
void addFrameKeys(unsigned char keys[256])
{
    addAutopilotKeys(keys);
    GamepadState pad;
    platformGamepadState(&pad);
    const GamepadScreen screen = Process.GameActive   ? GamepadScreen::Game
                                 : Process.MenuActive ? GamepadScreen::Menu
                                                      : GamepadScreen::Other;
    addGamepadKeys(pad, Process.StartButton.follow(pad, screen), keys);
}

// Follows the drawable: it changes when a window moves between displays of
// different density.
void followDrawable()
{
    DisplaySize drawable = platformDrawableSize();
    Process.DrawableWidth = drawable.width;
    Process.DrawableHeight = drawable.height;
    Process.PictureViewport = pictureViewport(drawable.width, drawable.height);
}

void clearBar(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    glScissor(x, y, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Paints the bars beside a 4:3 picture on a display of another shape black,
// after the screens' clears have cleared them along with the picture.
void clearLetterboxBars()
{
    const Viewport& p = Process.PictureViewport;
    if (p.width == Process.DrawableWidth && p.height == Process.DrawableHeight)
        return;
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    clearBar(0, 0, p.x, Process.DrawableHeight);
    clearBar(p.x + p.width, 0, Process.DrawableWidth - p.x - p.width, Process.DrawableHeight);
    clearBar(p.x, 0, p.width, p.y);
    clearBar(p.x, p.y + p.height, p.width, Process.DrawableHeight - p.y - p.height);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glScissor(p.x, p.y, p.width, p.height);
}

// The picture's viewport and the 3D screens' projection.
void usePictureView()
{
    const Viewport& picture = Process.PictureViewport;
    glMatrixMode(GL_PROJECTION);
    glViewport(picture.x, picture.y, picture.width, picture.height);
    glLoadIdentity();
    gluPerspective(Process.FieldOfView, 4.0 / 3.0, 0.1, 40000.0);
    glMatrixMode(GL_MODELVIEW);
}

// Mesa's software renderer compiles code for each new combination of GL
// state the first time it draws with it: for the game's, some 40 M
// instructions, which the game's first frame would pay on top of the last
// loading step. The two loading frames before draw the game's frame once
// each, one node of each kind per Scene, with every pixel scissored away, so
// that the compiling happens there: the eighth the opaque kinds of the
// scenes in by then, the ninth every kind (what is new by then). Not the
// HUD layer: its clear, under a scissor smaller than the picture, would take
// Mesa's slow way of clearing (a quad, with code of its own to compile), and
// its scenes are drawn with the states the game's have. Called with the
// game's projection set.
void warmUpGameDrawing(NodesOfEachKind kinds)
{
    DrawOneNodeOfEachKind = kinds;
    drawScissoredAway([] { FrameSteps.game.draw(); });
    DrawOneNodeOfEachKind = NodesOfEachKind::Off;
}

} // namespace

void drawFrame()
{
    // Every clear and draw stays inside the picture.
    const Viewport& picture = Process.PictureViewport;
    glScissor(picture.x, picture.y, picture.width, picture.height);
    glEnable(GL_SCISSOR_TEST);
    deleteRetiredTextures();
    uploadLevelTextures();
    if (Level.Populated)
        setLevelFog();
    else
        setMenuFog();

    const FrameShows& shows = Process.Shows;
    glMatrixMode(GL_PROJECTION);
    if (shows.hud) {
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-400, 400, -300, 300, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        FrameSteps.hud.draw();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
    }
    glEnable(GL_DEPTH_TEST);
    usePictureView();

    if (shows.menu)
        FrameSteps.menu.draw();
    if (shows.loading) {
        if (Level.LoadStep + 2 == LevelLoadSteps)
            warmUpGameDrawing(NodesOfEachKind::FirstOpaque);
        if (Level.LoadStep + 1 == LevelLoadSteps)
            warmUpGameDrawing(NodesOfEachKind::First);
        FrameSteps.levelLoading.draw();
    }
    if (shows.game)
        FrameSteps.game.draw();
    if (shows.paused)
        pausedScreen();
    if (shows.credits)
        FrameSteps.credits.draw();
    if (shows.instructions)
        FrameSteps.instructions.draw();

    clearLetterboxBars();
}

bool runFrame(bool draw)
{
    if (!platformDrainEvents())
        return false;
    pollKeyboard(addFrameKeys);
    followFocus(platformHasFocus());
    if (wasKeyPressed(MuteKey))
        toggleMute();
    followDrawable();
    advanceFrame(platformMilliseconds());
    // Handed over and gone: a frame that does not advance hands no sound.
    Process.Sounds.paused = Game.Paused;
    platformPlaySounds(Process.Sounds, Process.Muted);
    Process.Sounds = FrameSounds{};
    if (draw) {
        drawFrame();
        platformSwapBuffers();
    }
    showDamagedFiles(platformErrorBox);
    platformPaceFrame();
    return true;
}
