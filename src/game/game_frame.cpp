#include "game/game_frame.h"

#include "game/bases_step.h"
#include "game/control_step.h"
#include "game/enemies_step.h"
#include "game/game_state.h"
#include "game/health_bar.h"
#include "game/placements.h"
#include "game/shots_step.h"
#include "math/matrix4.h"
#include "platform/platform.h"
#include "scene/scene.h"
#include "screens/game_overlays.h"
#include "screens/scene_drawer.h"
#include "shell/frame_loop.h"
#include "shell/process_state.h"
#include "world/level_state.h"

#include <GL/gl.h>

namespace {

// 100 units in front of the camera.
void countdownCaption(Scene* scene)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -100.0f);
    DrawScene(scene);
    glPopMatrix();
}

// "Ready", "3", "2", "1" a second each. In the first frame past each
// boundary the old caption shows once more beside the new one.
void countdown()
{
    const uint32_t now = platformMilliseconds();
    if (!Game.countdownStarted) {
        Game.countdownStart = now;
        Game.countdownStarted = true;
    }
    const int32_t t = static_cast<int32_t>(now - Game.countdownStart);
    if (t > 0 && Game.showReady) {
        countdownCaption(Level.ReadyScene.get());
        Game.showThree = true;
    }
    if (t > 1000 && Game.showThree) {
        countdownCaption(Level.NumberThreeScene.get());
        Game.showReady = false;
        Game.showTwo = true;
    }
    if (t > 2000 && Game.showTwo) {
        countdownCaption(Level.NumberTwoScene.get());
        Game.showThree = false;
        Game.showOne = true;
    }
    if (t > 3000 && t < 4000 && Game.showOne) {
        countdownCaption(Level.NumberOneScene.get());
        Game.showTwo = false;
    }
}

void drawHero()
{
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-11.0f, 4.0f, Game.HeliOffsetZ);
    drawHealthBar(Game.HeroHealth);
    glPopMatrix();

    glPushMatrix();
    glLoadIdentity();
    glTranslatef(Game.HeliOffsetX, Game.HeliOffsetY, Game.HeliOffsetZ);
    glRotatef(Game.HeliPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(Game.HeliTilt, 0.0f, 1.0f, 0.0f);
    glRotatef(Game.HeliRoll, 0.0f, 0.0f, 1.0f);
    DrawScene(Process.HeroHeliScene.get());
    glPopMatrix();
}

// 70 degrees a frame about the rotor's own pivot; the hero drawn in the
// next frame shows it.
void turnRotor()
{
    SceneNode* rotor = Process.HeroHeliScene ? Process.HeroHeliScene->findNode("HeliRotor") : nullptr;
    if (!rotor)
        return;
    Game.RotorAngle -= 70.0f;
    rotor->worldMatrix =
        rotatedAsGl(rotor->nodeMatrix, Game.RotorAngle, 0.0f, 1.0f, 0.0f) * inverse(rotor->nodeMatrix);
}

} // namespace

// The sky turns slowly and is drawn without fog; the map halves and the
// road are fogged.
void drawWorld()
{
    glPushMatrix();
    worldPlacement();
    glDisable(GL_FOG);
    glPushMatrix();
    Game.SkyAngle += 0.01f;
    glRotatef(Game.SkyAngle, 1.0f, 0.0f, 0.0f);
    glRotatef(Game.SkyAngle * 0.5f, 1.0f, 0.0f, 1.0f);
    DrawScene(Level.SkyScene.get());
    glPopMatrix();
    glEnable(GL_FOG);
    DrawScene(Level.Map1Scene.get());
    DrawScene(Level.Map2Scene.get());
    DrawScene(Level.RoadScene.get());
    glPopMatrix();
}

void gameFrame()
{
    // No control step computed a camera in the frame loading ends, nor in a
    // won or lost frame: the world is then seen from the last camera view.
    if (!Game.CameraComputed)
        Game.Camera = cameraTransform();
    Game.CameraComputed = false;
    glPushMatrix();
    glLoadMatrixf(Game.Camera.m);

    if (Game.PathZ >= FinishLineZ) {
        wonScreen();
        Game.GameWon = true;
    }
    if (Game.Fuel <= LowFuel || Game.Lives == 0)
        lostScreen();
    countdown();
    drawWorld();
    basesStep();
    enemiesStep();
    rocketsStep();
    bulletsStep();
    glPopMatrix(); // the camera

    drawHero();
    turnRotor();
}
