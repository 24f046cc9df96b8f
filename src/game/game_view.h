#pragma once

// What a game frame shows, as the game's advance step leaves it for the
// drawing. Each object is seen as it stood when its step ran: a base's or
// an enemy's health bar before the shots of the same frame hit it, a shot
// also in the frame its explosion ends and it leaves its list, an enemy's
// crash in the step of the shared animation that enemy made.

#include "game/records.h"
#include "math/matrix4.h"

#include <vector>

// What one base shows in a frame.
struct BaseSight {
    enum Look { Nothing, Intact, Damaged, Wreck } look = Nothing;
    Matrix4 place;          // the base's frame, relative to the camera
    Matrix4 healthBarPlace; // intact and damaged bases only
    HealthTriple health;    // what its health bar shows
    float wreckPhase = 0.0f;
};

// What one enemy shows in a frame.
struct EnemySight {
    bool shown = false;             // near, or still sinking, and not dead
    bool alive = false;             // drawn as a helicopter with its health bar
    bool crashing = false;          // the crash animation instead
    Matrix4 place;                  // the enemy's place in eye space: its health bar
    Matrix4 model;                  // the helicopter model's frame
    HealthTriple health;            // what its health bar shows
    std::vector<Matrix4> crashPose; // the crash model's nodes, one matrix each
    bool shotShown = false;         // its bullet, also after it has hit
    Matrix4 shotPlace;
};

// What one shot shows in a frame.
struct ShotSight {
    enum Kind { Nothing, Model, Explosion } kind = Nothing;
    Matrix4 place;             // the shot's frame, relative to the camera
    float explosionAge = 0.0f; // the age the explosion is drawn at
};

struct GameView {
    // The captions, tested before anything of the frame moves.
    bool won = false;
    bool lost = false;
    // The countdown captions due, drawn in this order.
    bool ready = false;
    bool three = false;
    bool two = false;
    bool one = false;
    // Every object in list order.
    std::vector<BaseSight> bases;
    std::vector<EnemySight> enemies;
    std::vector<ShotSight> rockets;
    std::vector<ShotSight> bullets;
};
