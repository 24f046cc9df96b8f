#pragma once

// What lives for the whole process: which screen runs, the display and the
// window's picture, the scenes read at start-up, the menu and the credits.
// The game's own state is game/game_state.h, the loaded level's
// world/level_state.h. Angles are degrees.

#include "input/gamepad.h"
#include "input/sounds.h"
#include "render/viewport.h"
#include "scene/mesh_collider.h"
#include "scene/scene.h"
#include "world/untouched_zeros.h"

#include <memory>
#include <vector>

// The screens a frame shows, as its advance step leaves them for its
// drawing: each screen that ran in the frame, in the order drawn. A screen
// that hands over to another in its step leaves both to be drawn (the
// loading's last frame shows the bar and the game's first frame); one that
// was switched off by an earlier step of the frame is not drawn.
struct FrameShows {
    bool hud = false;
    bool menu = false;
    bool loading = false;
    bool game = false;
    bool credits = false;
    bool instructions = false;
    // The game is paused: its frame is drawn as it stood, with the
    // "Paused" caption over it.
    bool paused = false;
};

// One item of the main menu: a caption and a box node of the menu's scene
// that spin about the box's vertical axis when the item's key is pressed.
struct MenuItem {
    const char* captionNode;
    const char* boxNode;
    int key;
    float step; // added to the spin once a frame while the item spins
    float spin; // 0 while idle
};

enum MenuItemIndex { StartGameItem, InstructionsItem, CreditsItem, ExitItem };

// An item fires in the first frame its spin exceeds this.
constexpr float SpinToFire = 27.0f;

// The most falling points: a grid of up to 1000 by 1000.
constexpr int FallingPointCount = 1000000;
using FallingPointArray = std::vector<float, UntouchedZeros<float>>;

struct ProcessState {
    // Which screens take part in a frame. Exactly one of the five is true
    // at a time; the screens switch them themselves, clearing one and
    // setting another in the same step.
    bool MenuActive = true;
    bool LoadingActive = false;
    bool GameActive = false;
    bool InstructionsActive = false;
    bool CreditsActive = false;
    // What the current frame shows.
    FrameShows Shows;
    // What the current frame sounds: left by the advance step, handed to
    // the platform by the frame loop.
    FrameSounds Sounds;
    // No sound is played: M toggles it, --mute starts with it, and the
    // settings remember it.
    bool Muted = false;

    // Whether the window had the keyboard focus at the last frame, and
    // whether it has lost it since without a game paused for that.
    bool HadFocus = true;
    bool FocusLost = false;
    // The screen the controller's Start went down on, while it is held.
    StartButtonLatch StartButton;

    // Vertical field of view of the perspective projection.
    float FieldOfView = 60.0f;

    // The usable display area, read once at start-up before the dialog. It
    // is the full-screen window size and the reference for centring the
    // window.
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    // Chosen in the dialog: false = windowed (the default).
    bool FullScreen = false;
    // True when the dialog was left with "Exit Game", Escape or the close
    // box.
    bool ExitRequested = false;

    // The picture of the current frame inside the window's drawable;
    // refreshed by the frame loop.
    Viewport PictureViewport;
    int DrawableWidth = 800;
    int DrawableHeight = 600;

    // The scenes read at start-up, in this order: the main menu, the hero
    // helicopter, the instructions and the four credits scenes.
    std::unique_ptr<Scene> MainMenuScene;
    std::unique_ptr<Scene> HeroHeliScene;
    std::unique_ptr<Scene> InstructionsScene;
    std::unique_ptr<Scene> Credits0Scene;
    std::unique_ptr<Scene> Credits1Scene;
    std::unique_ptr<Scene> Credits2Scene;
    std::unique_ptr<Scene> Credits3Scene;
    // The hero's hit tests, over HeroHeliScene.
    MeshCollider HeroCollider;

    // How far the credits have rolled: from -130 up to 130 by 0.1 a frame,
    // then still. Kept across visits, so a second visit carries on where
    // the first stopped.
    float creditsScroll = -130.0f;

    // Start Game, Instructions, Credits, Exit: the order in which keys are
    // read and actions tested.
    MenuItem MenuItems[4] = {
        {"StartGame", "BoxStartGame", 'S', 0.4f, 0.0f},
        {"Instructions", "BoxInstructions", 'I', 0.3f, 0.0f},
        {"Credits", "BoxCredits", 'C', 0.5f, 0.0f},
        {"Exit", "BoxExit", 'E', 0.6f, 0.0f},
    };
    // The menu's hovering helicopter.
    float rotorAngle = 0.0f; // decreases without bound
    float bobOffset = 0.0f;  // between -3 and 2
    bool bobRising = true;
    // The falling points: a grid of up to 1000 by 1000 points, each with
    // its own height and speed, filled on the menu's first drawing. Room for
    // the densest grid; a sparser one writes, and so holds in memory, only
    // its own rows (a row of 1000 is about a page).
    FallingPointArray PointHeights = FallingPointArray(FallingPointCount);
    FallingPointArray PointSpeeds = FallingPointArray(FallingPointCount);
    bool pointsFilled = false;
    int pointSpacingX = 0;
    int pointSpacingZ = 0;
};

extern ProcessState Process;
