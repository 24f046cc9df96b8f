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
#include "world/level_scenes.h"

#include <GL/gl.h>

float RotorAngle = 0.0f;
float SkyAngle = 0.0f;
bool countdownStarted = false;
uint32_t countdownStart = 0;
bool showReady = true;
bool showThree = false;
bool showTwo = false;
bool showOne = false;

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
    if (!countdownStarted) {
        countdownStart = now;
        countdownStarted = true;
    }
    const int32_t t = static_cast<int32_t>(now - countdownStart);
    if (t > 0 && showReady) {
        countdownCaption(ReadyScene);
        showThree = true;
    }
    if (t > 1000 && showThree) {
        countdownCaption(NumberThreeScene);
        showReady = false;
        showTwo = true;
    }
    if (t > 2000 && showTwo) {
        countdownCaption(NumberTwoScene);
        showThree = false;
        showOne = true;
    }
    if (t > 3000 && t < 4000 && showOne) {
        countdownCaption(NumberOneScene);
        showTwo = false;
    }
}

void drawHero()
{
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-11.0f, 4.0f, HeliOffsetZ);
    drawHealthBar(HeroHealth);
    glPopMatrix();

    glPushMatrix();
    glLoadIdentity();
    glTranslatef(HeliOffsetX, HeliOffsetY, HeliOffsetZ);
    glRotatef(HeliPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(HeliTilt, 0.0f, 1.0f, 0.0f);
    glRotatef(HeliRoll, 0.0f, 0.0f, 1.0f);
    DrawScene(HeroHeliScene);
    glPopMatrix();
}

// 70 degrees a frame about the rotor's own pivot; the hero drawn in the
// next frame shows it.
void turnRotor()
{
    SceneNode* rotor = HeroHeliScene ? HeroHeliScene->findNode("HeliRotor") : nullptr;
    if (!rotor)
        return;
    RotorAngle -= 70.0f;
    rotor->worldMatrix =
        rotatedAsGl(rotor->nodeMatrix, RotorAngle, 0.0f, 1.0f, 0.0f) * inverse(rotor->nodeMatrix);
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
    SkyAngle += 0.01f;
    glRotatef(SkyAngle, 1.0f, 0.0f, 0.0f);
    glRotatef(SkyAngle * 0.5f, 1.0f, 0.0f, 1.0f);
    DrawScene(SkyScene);
    glPopMatrix();
    glEnable(GL_FOG);
    DrawScene(Map1Scene);
    DrawScene(Map2Scene);
    DrawScene(RoadScene);
    glPopMatrix();
}

void gameFrame()
{
    // No control step computed a camera in the frame loading ends, nor in a
    // won or lost frame: the world is then seen from the last camera view.
    if (!CameraComputed)
        Camera = cameraTransform();
    CameraComputed = false;
    glPushMatrix();
    glLoadMatrixf(Camera.m);

    if (PathZ >= FinishLineZ) {
        wonScreen();
        GameWon = true;
    }
    if (Fuel <= LowFuel || Lives == 0)
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

void resetGameFrame()
{
    RotorAngle = 0.0f;
    SkyAngle = 0.0f;
    countdownStarted = false;
    countdownStart = 0;
    showReady = true;
    showThree = false;
    showTwo = false;
    showOne = false;
}
