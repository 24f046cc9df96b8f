#pragma once

// The game's records: plain values copied into growable lists. A destroyed
// base and a dead enemy stay in their lists and are skipped by their flags;
// a shot leaves its list once its explosion has ended.

#include "math/matrix4.h"
#include "math/vector.h"

// What a health bar shows: the hits taken, the green part (health) and the
// red part (capacity). Bases, enemies and the hero all carry one.
struct HealthTriple {
    float damage = 0.0f;
    float health = 0.0f;
    float capacity = 0.0f;
};

// One shot: the player's rockets and bullets, and the single bullet each
// enemy carries. It flies in the frame of the camera at its launch.
struct Projectile {
    Vec3 launchDirection; // as computed at launch, before normalising
    Vec3 direction;       // unit flight direction; zero once exploding
    Vec4 start{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 position{0.0f, 0.0f, 0.0f, 1.0f};
    Vec3 angles;           // degrees, for drawing
    Matrix4 launchFrame;   // inverse of the camera at launch
    bool spent = false;    // has hit something
    bool fresh = true;     // the launch set-up is still to be done
    float age = 0.0f;      // explosion age
    int reloadCounter = 0; // frames since an enemy's shot was last reloaded
};

// One ground target, in map coordinates (drawn under worldPlacement). Its
// health triple starts full: it falls to a damaged look after 2 hits and
// to a wreck after 6.
struct MilitaryBase : HealthTriple {
    explicit MilitaryBase(Vec3 at)
        : HealthTriple{0.0f, 8.0f, 8.0f}, position{at.x, at.y, at.z, 1.0f}, spawn(position)
    {
    }

    Vec4 position;
    Vec3 angles;
    float wreckPhase = 0.0f; // growth of the wreck once destroyed
    Vec4 spawn;
    bool hit = false;
};

// One enemy helicopter, waiting at its spawn point until the camera comes
// near. Alive while its damage is below 5.
struct EnemyHeli : HealthTriple {
    explicit EnemyHeli(Vec3 at)
        : HealthTriple{0.0f, 8.0f, 8.0f}, spawn{at.x, at.y, at.z, 1.0f}, position(spawn)
    {
    }

    Vec3 heading{0.0f, -1.0f, 0.0f};
    Vec3 velocity; // x: sway push (+-1); y, z: climb and forward per frame
    Vec4 spawn;
    Vec4 position; // relative to the anchor
    Vec3 angles;   // x; y turns to the hero; z rolls with the sway
    bool active = true;
    bool hit = false;
    bool swayFlag = true;
    float swayVelocity = 0.0f;
    bool dead = false; // the crash has played out
    Projectile shot;
    Vec4 anchor{0.0f, 0.0f, 0.0f, 1.0f}; // the camera at engagement
    float anchorYaw = 0.0f;
    bool engaged = false;
    bool firing = false; // hovering at the hero's height
};
