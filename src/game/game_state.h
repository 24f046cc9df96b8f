#pragma once

// The state of one game, shared by the control step, the game frame, the
// object steps and the HUD, with the values every game starts from: the
// camera at the start of the course, a full tank, three lives, the hero at
// full health, no shots, no bases and no enemies. A new game is
// `Game = GameState{}`. Angles are degrees.

#include "game/game_view.h"
#include "game/records.h"
#include "scene/animation.h"
#include "world/level_layout.h"

#include <cstdint>
#include <vector>

struct GameState {
    // The camera: a translation and a heading replayed from the course
    // text. PathZ is the progress along the course.
    float PathX = 0.0f;
    float PathY = 0.0f;
    float PathZ = 24.0f;
    float PathYaw = 0.0f;
    // 1, or 2 while the Up arrow is held: how many records a frame moves on.
    float PathSpeed = 1.0f;

    float Fuel = 360.0f;
    int Lives = 3;
    bool GameWon = false;

    // The hero model in eye space, independent of the camera.
    float HeliOffsetX = 0.0f;
    float HeliOffsetY = 0.0f;
    float HeliOffsetZ = 0.0f;
    float HeliPitch = 0.0f;
    float HeliTilt = 0.0f;
    float HeliRoll = 0.0f;
    // Full health, so that the first hit costs health rather than a life
    // and the bar shows from the start.
    HealthTriple HeroHealth{0.0f, 8.0f, 8.0f};

    std::vector<MilitaryBase> MilitaryBases;
    std::vector<EnemyHeli> EnemyHelis;
    std::vector<Projectile> Rockets;
    std::vector<Projectile> Bullets;

    // The control step's. Its first step of a game starts the clock of the
    // start delay and the fuel timer.
    bool controlStarted = false;
    uint32_t controlStart = 0;
    // The fuel timer runs from the end of the start delay.
    bool fuelTimerStarted = false;
    uint32_t fuelTimer = 0;
    // The course has started to play (the start delay is over).
    bool courseRunning = false;
    // Frames Space has been held.
    int fireCounter = 0;
    // Direction of the idle sway of HeliTilt.
    bool tiltFalling = true;
    // The model moved sideways in the last frame its arrow was held.
    bool movedLeft = true;
    bool movedRight = true;
    // The camera of this frame: set by the control step, which also sets
    // CameraComputed; the game frame draws under it and clears the flag.
    Matrix4 Camera;
    bool CameraComputed = false;

    // The game frame's: the rotor's and the sky's turn so far. The rotor's
    // turn of a frame shows from the next (the hero is drawn before it
    // turns): rotorTurnDue says a frame has run whose turn is still to be
    // made.
    float RotorAngle = 0.0f;
    bool rotorTurnDue = false;
    float SkyAngle = 0.0f;
    // The countdown runs from the first game frame of a game.
    bool countdownStarted = false;
    uint32_t countdownStart = 0;
    // Which countdown caption is due.
    bool showReady = true;
    bool showThree = false;
    bool showTwo = false;
    bool showOne = false;
    // The countdown's captions whose tick has sounded: 0 to 4 of Ready, 3,
    // 2, 1.
    int countdownTicks = 0;

    // Playback of the course text (game/course.h): true until the text has
    // been tokenised in this game; the token last taken (null once the
    // text is exhausted); the tokeniser's place between frames.
    bool firstRead = true;
    char* courseCursor = nullptr;
    char* courseContext = nullptr;

    // Where the HUD's gauge and icons stand left of their place (and the
    // fuel bar below its place): -270 when a game starts, rising 10 a frame
    // to 0, so the HUD slides in during the first 27 frames of every game.
    float hudSlide = -270.0f;
    // The lives the HUD shows: counted as it slides, before the enemies of
    // the same frame fire, so that a life lost shows from the next frame.
    int hudLives = 3;

    // Where the crash animation's nodes stand in their keys.
    AnimationCursors KeyCursors;

    // The pause. While Paused nothing of the game advances; the sound can
    // read it too. The game's clock is the frame's clock less the time
    // spent paused, so the countdown, the start delay and the fuel timer
    // go on where they stopped.
    bool Paused = false;
    uint32_t pausedSince = 0;
    uint32_t pausedTotal = 0;

    // What the game frame shows, left by its advance step for its drawing.
    GameView View;
};

extern GameState Game;

// Above this the course is finished; at or below LowFuel the game is lost.
constexpr float FinishLineZ = static_cast<float>(layout::FinishLineZ);
constexpr float LowFuel = 250.0f;
