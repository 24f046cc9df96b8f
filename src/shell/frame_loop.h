#pragma once

#include <cstdint>

// One-time initialisation after the GL context is current: the start-up
// scenes and the fixed GL state.
void initGame();

// The end of gameMain, while the GL context is still current: deletes the
// scenes of initGame and a loading screen still up, and with them their GL
// textures. A level left loaded by a quit in mid-game stays for the next
// level load to replace.
void releaseGame();

// The start-up fog: thin exponential grey, the menu's. The drawing sets it
// in every frame in which no level is populated.
void setMenuFog();

// Light 0: grey ambient, white diffuse, a directional light fixed in eye
// space from above and slightly behind the viewer. Lighting itself is
// switched on per material by the mesh drawing.
void setupLight();

// The level's fog: a brown haze, thinner than the menu's; mode and range
// stay as start-up set them.
void setLevelFog();

// A frame is two steps. The advance step moves everything on by one frame:
// it reads the state, the frame's keyboard snapshot (KeyTable) and the
// clock's reading `now`, switches the screens and makes no GL call. The
// drawing then shows the frame from the state alone and changes none of it
// (its GL objects aside: it makes the textures of the scenes the advance
// step read and deletes those of the scenes that went).
void advanceFrame(uint32_t now);
void drawFrame();

// A screen's two halves.
struct ScreenStep {
    void (*advance)(uint32_t now);
    void (*draw)();
};

// The steps of a frame as advanceFrame and drawFrame call them. The real
// game never changes this table; tests swap in recorders to watch the order
// of the steps and what each is handed.
struct ScreenSteps {
    // First in a frame, advancing only: the menu's keys, spins and actions
    // while the menu is up, then the game's control step while a game runs.
    void (*menuPlacement)(uint32_t now);
    void (*control)(uint32_t now);
    // Then each screen whose flag is set when its turn comes, in this
    // order: the HUD (drawn under the orthographic projection), the menu,
    // the loading, the game, the credits and the instructions (drawn under
    // the 4:3 perspective).
    ScreenStep hud;
    ScreenStep menu;
    ScreenStep levelLoading;
    ScreenStep game;
    ScreenStep credits;
    ScreenStep instructions;
};
extern ScreenSteps FrameSteps;

// M, on every screen: sound off and on again.
constexpr int MuteKey = 0x4D;

// Mutes or unmutes and remembers the choice in the settings.
void toggleMute();

// One pass of the loop: drain events, poll the keyboard (M toggles the
// sound), follow the drawable, advance, hand the frame's sounds to the
// platform, draw with the letterbox bars, swap and pace. Without
// `draw` the frame advances as it would drawn and nothing is drawn or
// swapped (tests and tools that play unseen). Returns false, before
// anything else runs, once the window has gone.
bool runFrame(bool draw = true);
