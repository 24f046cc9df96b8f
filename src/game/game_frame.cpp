#include "game/game_frame.h"

#include "game/bases_step.h"
#include "game/enemies_step.h"
#include "game/game_state.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "game/sound_events.h"
#include "math/matrix4.h"
#include "scene/scene.h"
#include "world/level_state.h"
#include "world/process_state.h"

namespace {

// "Ready", "3", "2", "1" a second each. In the first frame past each
// boundary the old caption shows once more beside the new one.
void countdown(uint32_t now, GameView& view)
{
    if (!Game.countdownStarted) {
        Game.countdownStart = now;
        Game.countdownStarted = true;
    }
    const int32_t t = static_cast<int32_t>(now - Game.countdownStart);
    view.ready = view.three = view.two = view.one = false;
    if (t > 0 && Game.showReady) {
        view.ready = true;
        Game.showThree = true;
    }
    if (t > 1000 && Game.showThree) {
        view.three = true;
        Game.showReady = false;
        Game.showTwo = true;
    }
    if (t > 2000 && Game.showTwo) {
        view.two = true;
        Game.showThree = false;
        Game.showOne = true;
    }
    if (t > 3000 && t < 4000 && Game.showOne) {
        view.one = true;
        Game.showTwo = false;
    }
    // A tick as each caption first shows: the newest one due.
    const int due = view.one ? 4 : view.two ? 3 : view.three ? 2 : view.ready ? 1 : 0;
    if (due > Game.countdownTicks) {
        playSound(Sound::CountdownTick);
        Game.countdownTicks = due;
    }
}

// The rotor turns 70 degrees a frame about its own pivot. The hero and the
// enemies are drawn before it turns, so a frame's turn is made at the start
// of the next: the first frame of a game shows the rotor as the menu left
// it.
void turnRotor()
{
    SceneNode* rotor = Process.HeroHeliScene ? Process.HeroHeliScene->findNode("HeliRotor") : nullptr;
    if (!rotor)
        return;
    if (Game.rotorTurnDue) {
        Game.RotorAngle -= 70.0f;
        rotor->worldMatrix =
            rotatedAsGl(rotor->nodeMatrix, Game.RotorAngle, 0.0f, 1.0f, 0.0f) * inverse(rotor->nodeMatrix);
    }
    Game.rotorTurnDue = true;
}

} // namespace

void advanceGameFrame(uint32_t now)
{
    turnRotor();
    // No control step computed a camera in the frame loading ends, nor in a
    // won or lost frame: the world is then seen from the last camera view.
    if (!Game.CameraComputed)
        Game.Camera = cameraTransform();
    Game.CameraComputed = false;

    GameView& view = Game.View;
    const bool wasLost = view.lost;
    view.won = Game.PathZ >= FinishLineZ;
    if (view.won && !Game.GameWon)
        playSound(Sound::Won);
    if (view.won)
        Game.GameWon = true;
    view.lost = Game.Fuel <= LowFuel || Game.Lives == 0;
    if (view.lost && !wasLost)
        playSound(Sound::Lost);
    countdown(now, view);
    // The sky turns slowly.
    Game.SkyAngle += 0.01f;
    advanceBases(view.bases);
    advanceEnemies(view.enemies);
    advanceRockets(view.rockets);
    advanceBullets(view.bullets);

    // The rotor is heard while the hero flies, faster as the course runs
    // faster (Up doubles its speed).
    Process.Sounds.rotor = !view.won && !view.lost;
    Process.Sounds.rotorRate = Game.courseRunning ? 0.75f + 0.25f * Game.PathSpeed : 0.85f;
}
