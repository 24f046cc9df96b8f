#pragma once

// The game's sounds, as the advance step decides them and the platform
// plays them. The advance step appends an event where its cause happens
// (a rocket leaves, a base falls) and sets the rotor's loop for the frame;
// the frame loop hands the frame's sounds to the platform once the step has
// run. A frame that does not advance the game hands none: the rotor falls
// silent.

#include <cstdint>
#include <vector>

enum class Sound : uint8_t {
    Rotor, // the loop, never an event
    RocketLaunch,
    GunShot,
    Explosion, // a rocket bursting: on a hit or at the end of its range
    BaseDestroyed,
    EnemyShot,
    HeroHit,
    EnemyCrash,
    LifeLost,
    CountdownTick, // Ready, 3, 2, 1
    CountdownGo,   // the course starts
    Won,
    Lost,
    MenuSpin,
};
constexpr int SoundCount = 14;

// Each sound's file in the data directory, by Sound: 16-bit mono PCM WAV
// at SoundSampleRate, written by the asset generator.
constexpr const char* SoundFileNames[SoundCount] = {
    "Sounds/rotor.wav",          "Sounds/rocket_launch.wav",  "Sounds/gun_shot.wav",
    "Sounds/explosion.wav",      "Sounds/base_destroyed.wav", "Sounds/enemy_shot.wav",
    "Sounds/hero_hit.wav",       "Sounds/enemy_crash.wav",    "Sounds/life_lost.wav",
    "Sounds/countdown_tick.wav", "Sounds/countdown_go.wav",   "Sounds/won.wav",
    "Sounds/lost.wav",           "Sounds/menu_spin.wav",
};
constexpr int SoundSampleRate = 22050;

constexpr const char* soundFileName(Sound sound) { return SoundFileNames[static_cast<int>(sound)]; }

struct SoundEvent {
    Sound sound = Sound::GunShot;
    float volume = 1.0f; // 0 to 1: far things are quieter
    float pan = 0.0f;    // -1 left to 1 right, by the place on screen
};

struct FrameSounds {
    std::vector<SoundEvent> events; // in the order their causes happened
    // The rotor's loop: on while the hero flies; its rate (1 = as
    // recorded) follows the course speed.
    bool rotor = false;
    float rotorRate = 1.0f;
    // The game is paused: what is playing holds where it is and goes on
    // when the pause ends.
    bool paused = false;
};
