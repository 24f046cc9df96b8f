#include "screens/main_menu.h"

#include "platform/platform.h"
#include "render/texture_registry.h"
#include "scene/scene.h"
#include "shell/frame_loop.h"
#include "shell/keyboard.h"
#include "shell/screen_flags.h"

#include <GL/gl.h>

#include <cstdlib>
#include <ctime>

MenuItem MenuItems[4] = {
    {"StartGame", "BoxStartGame", 'S', 0.4f, 0.0f},
    {"Instructions", "BoxInstructions", 'I', 0.3f, 0.0f},
    {"Credits", "BoxCredits", 'C', 0.5f, 0.0f},
    {"Exit", "BoxExit", 'E', 0.6f, 0.0f},
};

float rotorAngle = 0.0f;
float bobOffset = 0.0f;
bool bobRising = true;

float PointHeights[FallingPointCount];
float PointSpeeds[FallingPointCount];
bool pointsFilled = false;
int pointSpacingX = 0;
int pointSpacingZ = 0;

Scene* LoadingScene = nullptr;

void createLoadingScene()
{
    // Every Start Game reads the file anew; the earlier one goes first.
    deleteLoadingScene();
    LoadingScene = new Scene("Loading.ASE", "testname");
}

void deleteLoadingScene()
{
    delete LoadingScene;
    LoadingScene = nullptr;
}

float spinAngle(float spin) { return 40.0f * spin - spin * spin; }

void pivotSpin(std::initializer_list<SceneNode*> nodes, const SceneNode& box, float angle)
{
    const Matrix4 result = rotatedAsGl(box.nodeMatrix, angle, 0.0f, 1.0f, 0.0f) * inverse(box.nodeMatrix);
    for (SceneNode* node : nodes)
        node->worldMatrix = result;
}

namespace {

bool othersIdle(int item)
{
    for (int other = 0; other < 4; ++other)
        if (other != item && MenuItems[other].spin != 0.0f)
            return false;
    return true;
}

// Start Game, Instructions and Credits hand over to their screen.
void fire(int item)
{
    MenuItem& menuItem = MenuItems[item];
    switch (item) {
    case StartGameItem:
        createLoadingScene();
        LoadingActive = true;
        menuItem.spin = 0.0f;
        MenuActive = false;
        break;
    case InstructionsItem:
        InstructionsActive = true;
        MenuActive = false;
        menuItem.spin = 0.0f;
        break;
    case CreditsItem:
        CreditsActive = true;
        MenuActive = false;
        menuItem.spin = 0.0f;
        break;
    default:
        break;
    }
}

void placeItems(const float angles[4])
{
    if (!MainMenuScene)
        return;
    SceneNode* startCaption = MainMenuScene->findNode("StartGame");
    SceneNode* startBox = MainMenuScene->findNode("BoxStartGame");
    if (!startCaption || !startBox)
        return;
    for (int item = 0; item < 4; ++item) {
        SceneNode* caption = MainMenuScene->findNode(MenuItems[item].captionNode);
        SceneNode* box = MainMenuScene->findNode(MenuItems[item].boxNode);
        // An item the model lacks is left out; the others still turn.
        if (!box)
            continue;
        if (caption)
            pivotSpin({caption}, *box, angles[item]);
        pivotSpin({box}, *box, angles[item]);
    }
}

int drawSpacing()
{
    // A spacing of 0 would never advance the grid: draw again.
    int spacing = 0;
    while (spacing == 0)
        spacing = std::rand() % 50;
    return spacing;
}

void drawFallingPoints()
{
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!pointsFilled) {
        pointSpacingX = drawSpacing();
        pointSpacingZ = drawSpacing();
        for (int k = 0; k < FallingPointCount; ++k) {
            PointSpeeds[k] = static_cast<float>(std::rand() % 50 + 1) / 100.0f;
            PointHeights[k] -= 500.0f;
        }
        pointsFilled = true;
    }
    for (float x = -500.0f; x < 500.0f; x += static_cast<float>(pointSpacingX)) {
        for (float z = -500.0f; z < 500.0f; z += static_cast<float>(pointSpacingZ)) {
            int k = static_cast<int>(x) * 1000 + static_cast<int>(z) + 500500;
            PointHeights[k] -= PointSpeeds[k];
            glColor3f(1.0f, 1.0f, 1.0f);
            glVertex3f(x, PointHeights[k] + 300.0f, z);
            if (PointHeights[k] < -500.0f)
                PointHeights[k] = 0.0f;
        }
    }
    glEnd();
}

void advanceBob()
{
    bool rising = false;
    if (bobOffset < 2.0f && bobRising) {
        bobOffset += 0.01f;
        rising = true;
    } else {
        bobRising = false;
    }
    if (bobOffset > -3.0f && !rising)
        bobOffset -= 0.01f;
    else
        bobRising = true;
}

} // namespace

void menuPlacementStep()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);

    for (int item = 0; item < 4; ++item) {
        MenuItem& menuItem = MenuItems[item];
        if (wasKeyPressed(menuItem.key) && othersIdle(item))
            menuItem.spin += menuItem.step;
        if (menuItem.spin > 0.0f)
            menuItem.spin += menuItem.step;
    }

    if (wasKeyPressed(VK_ESCAPE)) {
        platformDestroyWindow();
        return;
    }

    float angles[4];
    for (int item = 0; item < 4; ++item)
        angles[item] = spinAngle(MenuItems[item].spin);

    for (int item = 0; item < 4; ++item) {
        if (MenuItems[item].spin <= SpinToFire)
            continue;
        if (item != ExitItem) {
            fire(item);
            return;
        }
        // Exit: the window goes at the end of this frame, which still
        // shows the menu with the Exit item back at rest.
        platformDestroyWindow();
        MenuItems[item].spin = 0.0f;
        angles[item] = 0.0f;
        break;
    }

    placeItems(angles);
}

void menuDrawingStep()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    rotorAngle -= 70.0f;
    if (HeroHeliScene) {
        if (SceneNode* rotor = HeroHeliScene->findNode("HeliRotor"))
            pivotSpin({rotor}, *rotor, rotorAngle);
    }

    advanceBob();

    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, bobOffset + 10.0f, -95.0f);
    glRotatef(-45.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-10.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glScalef(20.0f, 20.0f, 20.0f);
    if (HeroHeliScene)
        TextureRegistry::draw(HeroHeliScene);
    glPopMatrix();

    drawFallingPoints();

    if (MainMenuScene)
        TextureRegistry::draw(MainMenuScene);
}
