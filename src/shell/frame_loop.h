#pragma once

// One-time initialisation after the GL context is current: the start-up
// scenes and the fixed GL state.
void initGame();

// The end of gameMain, while the GL context is still current: deletes the
// scenes of initGame and a loading screen still up, and with them their GL
// textures. A level left loaded by a quit in mid-game stays for the next
// level load to replace.
void releaseGame();

// The start-up fog: thin exponential grey, the menu's. The level's teardown
// brings it back after the game's fog.
void setMenuFog();

// Light 0: grey ambient, white diffuse, a directional light fixed in eye
// space from above and slightly behind the viewer. Lighting itself is
// switched on per material by the mesh drawing.
void setupLight();

// First pass of a frame: computes matrices and game control, draws nothing.
void runScenePass();

// Second pass of a frame: the HUD under the orthographic projection while a
// game runs, then the 4:3 perspective and the active screen.
void runScreenPass();

// The screens' steps as the passes call them. The real game never changes
// this table; tests swap in recorders to watch the passes' order and the
// matrices each step is handed.
struct ScreenSteps {
    void (*menuPlacement)();
    void (*control)();
    void (*hud)();
    void (*menuDrawing)();
    void (*levelLoading)();
    void (*game)();
    void (*credits)();
    void (*instructions)();
};
extern ScreenSteps FrameSteps;

// One pass of the loop: drain events, poll the keyboard, both passes, the
// letterbox bars, swap and pace. Returns false, before anything else runs,
// once the window has gone.
bool runFrame();
