#include "game/control_step.h"

#include "game/course.h"
#include "game/game_state.h"
#include "game/level_teardown.h"
#include "game/placements.h"
#include "game/sound_events.h"
#include "input/keyboard.h"

namespace {

constexpr int KeyW = 0x57;
constexpr int KeyS = 0x53;
constexpr int KeyA = 0x41;
constexpr int KeyD = 0x44;

// The first drain comes 9 s after the first control step (the start delay
// and one interval), then one every 5 s, whatever the state of the game.
void runFuelTimer(uint32_t now)
{
    if (!Game.controlStarted) {
        Game.controlStart = now;
        Game.controlStarted = true;
    }
    if (now - Game.controlStart < StartDelayMs)
        return;
    if (!Game.fuelTimerStarted) {
        Game.fuelTimer = now;
        Game.fuelTimerStarted = true;
    }
    if (now - Game.fuelTimer >= FuelDrainIntervalMs) {
        Game.fuelTimer = now;
        Game.Fuel -= FuelDrain;
    }
}

// A and D turn the model about its vertical axis; left alone it sways
// between -10 and +10 degrees, falling slower than it rises.
void steerTilt()
{
    if (isKeyDown(KeyA)) {
        if (Game.HeliTilt < 40.0f)
            Game.HeliTilt += 0.4f;
    } else if (Game.HeliTilt > -10.0f && Game.tiltFalling) {
        Game.HeliTilt -= 0.05f;
    } else {
        Game.tiltFalling = false;
    }
    if (isKeyDown(KeyD)) {
        if (Game.HeliTilt > -40.0f)
            Game.HeliTilt -= 0.4f;
    } else if (Game.HeliTilt < 10.0f && !Game.tiltFalling) {
        Game.HeliTilt += 0.1f;
    } else {
        Game.tiltFalling = true;
    }
}

// The arrows move the model sideways within 5 units of the centre and bank
// it while it moves; at the edge, or released, the bank returns.
void steerSideways()
{
    if (isKeyDown(VK_LEFT)) {
        if (Game.HeliRoll < 45.0f && Game.movedLeft)
            Game.HeliRoll += 0.4f;
        if (Game.HeliOffsetX > -5.0f) {
            Game.HeliOffsetX -= 0.1f;
            Game.movedLeft = true;
        } else {
            Game.movedLeft = false;
        }
        if (Game.HeliRoll > 0.0f && !Game.movedLeft)
            Game.HeliRoll -= 0.5f;
    } else if (Game.HeliRoll > 0.0f) {
        Game.HeliRoll -= 0.5f;
    }
    if (isKeyDown(VK_RIGHT)) {
        if (Game.HeliRoll > -45.0f && Game.movedRight)
            Game.HeliRoll -= 0.4f;
        if (Game.HeliOffsetX < 5.0f) {
            Game.HeliOffsetX += 0.1f;
            Game.movedRight = true;
        } else {
            Game.movedRight = false;
        }
        if (Game.HeliRoll < 0.0f && !Game.movedRight)
            Game.HeliRoll += 0.5f;
    } else if (Game.HeliRoll < 0.0f) {
        Game.HeliRoll += 0.5f;
    }
}

// Up noses down and doubles the course speed; Down noses up without
// slowing (Up wins when both are held). The pitch does not return.
void steerPitch()
{
    if (isKeyDown(VK_UP)) {
        if (Game.HeliPitch > -25.0f)
            Game.HeliPitch -= 0.4f;
        Game.PathSpeed = 2.0f;
    } else if (isKeyDown(VK_DOWN)) {
        if (Game.HeliPitch < 25.0f)
            Game.HeliPitch += 0.4f;
    } else {
        Game.PathSpeed = 1.0f;
    }
}

// One rocket per press of Ctrl; a bullet on the first frame Space is held
// and then every 20th frame.
void fire()
{
    if (wasKeyPressed(VK_CONTROL)) {
        Game.Rockets.push_back(Projectile());
        playSound(Sound::RocketLaunch);
    }
    if (isKeyDown(VK_SPACE)) {
        if (Game.fireCounter % 20 == 0) {
            Game.Bullets.push_back(Projectile());
            playSound(Sound::GunShot);
        }
        Game.fireCounter += 1;
    } else {
        Game.fireCounter = 0;
    }
}

} // namespace

void controlStep(uint32_t now)
{
    runFuelTimer(now);
    if (wasKeyPressed(VK_ESCAPE)) {
        tearDownLevel();
        return;
    }
    // Won or lost: only the fuel timer and Escape run. The game frame keeps
    // the last camera view behind the caption.
    if (Game.Fuel <= LowFuel || Game.GameWon || Game.Lives == 0)
        return;

    if (isKeyDown(KeyW))
        Game.PathY -= 0.1f;
    if (isKeyDown(KeyS))
        Game.PathY += 0.1f;
    steerTilt();
    steerSideways();
    steerPitch();
    fire();

    if (now - Game.controlStart > StartDelayMs) {
        if (!Game.courseRunning)
            playSound(Sound::CountdownGo);
        Game.courseRunning = true;
        advanceCourse();
    }
    Game.Camera = cameraTransform();
    Game.CameraComputed = true;
}
