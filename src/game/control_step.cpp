#include "game/control_step.h"

#include "game/course.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "platform/platform.h"
#include "shell/keyboard.h"
#include "world/level_teardown.h"

bool controlStarted = false;
uint32_t controlStart = 0;
bool fuelTimerStarted = false;
uint32_t fuelTimer = 0;
int fireCounter = 0;
bool tiltFalling = true;
bool movedLeft = true;
bool movedRight = true;
Matrix4 Camera;
bool CameraComputed = false;

namespace {

constexpr int KeyW = 0x57;
constexpr int KeyS = 0x53;
constexpr int KeyA = 0x41;
constexpr int KeyD = 0x44;

// The first drain comes 9 s after the first control step (the start delay
// and one interval), then one every 5 s, whatever the state of the game.
void runFuelTimer(uint32_t now)
{
    if (!controlStarted) {
        controlStart = now;
        controlStarted = true;
    }
    if (now - controlStart < StartDelayMs)
        return;
    if (!fuelTimerStarted) {
        fuelTimer = now;
        fuelTimerStarted = true;
    }
    if (now - fuelTimer >= FuelDrainIntervalMs) {
        fuelTimer = now;
        Fuel -= FuelDrain;
    }
}

// A and D turn the model about its vertical axis; left alone it sways
// between -10 and +10 degrees, falling slower than it rises.
void steerTilt()
{
    if (isKeyDown(KeyA)) {
        if (HeliTilt < 40.0f)
            HeliTilt += 0.4f;
    } else if (HeliTilt > -10.0f && tiltFalling) {
        HeliTilt -= 0.05f;
    } else {
        tiltFalling = false;
    }
    if (isKeyDown(KeyD)) {
        if (HeliTilt > -40.0f)
            HeliTilt -= 0.4f;
    } else if (HeliTilt < 10.0f && !tiltFalling) {
        HeliTilt += 0.1f;
    } else {
        tiltFalling = true;
    }
}

// The arrows move the model sideways within 5 units of the centre and bank
// it while it moves; at the edge, or released, the bank returns.
void steerSideways()
{
    if (isKeyDown(VK_LEFT)) {
        if (HeliRoll < 45.0f && movedLeft)
            HeliRoll += 0.4f;
        if (HeliOffsetX > -5.0f) {
            HeliOffsetX -= 0.1f;
            movedLeft = true;
        } else {
            movedLeft = false;
        }
        if (HeliRoll > 0.0f && !movedLeft)
            HeliRoll -= 0.5f;
    } else if (HeliRoll > 0.0f) {
        HeliRoll -= 0.5f;
    }
    if (isKeyDown(VK_RIGHT)) {
        if (HeliRoll > -45.0f && movedRight)
            HeliRoll -= 0.4f;
        if (HeliOffsetX < 5.0f) {
            HeliOffsetX += 0.1f;
            movedRight = true;
        } else {
            movedRight = false;
        }
        if (HeliRoll < 0.0f && !movedRight)
            HeliRoll += 0.5f;
    } else if (HeliRoll < 0.0f) {
        HeliRoll += 0.5f;
    }
}

// Up noses down and doubles the course speed; Down noses up without
// slowing (Up wins when both are held). The pitch does not return.
void steerPitch()
{
    if (isKeyDown(VK_UP)) {
        if (HeliPitch > -25.0f)
            HeliPitch -= 0.4f;
        PathSpeed = 2.0f;
    } else if (isKeyDown(VK_DOWN)) {
        if (HeliPitch < 25.0f)
            HeliPitch += 0.4f;
    } else {
        PathSpeed = 1.0f;
    }
}

// One rocket per press of Ctrl; a bullet on the first frame Space is held
// and then every 20th frame.
void fire()
{
    if (wasKeyPressed(VK_CONTROL))
        Rockets.push_back(Projectile());
    if (isKeyDown(VK_SPACE)) {
        if (fireCounter % 20 == 0)
            Bullets.push_back(Projectile());
        fireCounter += 1;
    } else {
        fireCounter = 0;
    }
}

} // namespace

void controlStep()
{
    const uint32_t now = platformMilliseconds();
    runFuelTimer(now);
    if (wasKeyPressed(VK_ESCAPE)) {
        tearDownLevel();
        return;
    }
    // Won or lost: only the fuel timer and Escape run. The game frame keeps
    // the last camera view behind the caption.
    if (Fuel <= LowFuel || GameWon || Lives == 0)
        return;

    if (isKeyDown(KeyW))
        PathY -= 0.1f;
    if (isKeyDown(KeyS))
        PathY += 0.1f;
    steerTilt();
    steerSideways();
    steerPitch();
    fire();

    if (now - controlStart > StartDelayMs)
        advanceCourse();
    Camera = cameraTransform();
    CameraComputed = true;
}

void resetControlStep()
{
    controlStarted = false;
    controlStart = 0;
    fuelTimerStarted = false;
    fuelTimer = 0;
    fireCounter = 0;
    tiltFalling = true;
    movedLeft = true;
    movedRight = true;
    Camera = Matrix4();
    CameraComputed = false;
    resetCourse();
}
