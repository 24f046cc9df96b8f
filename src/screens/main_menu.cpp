#include "screens/main_menu.h"
#include "screens/falling_points_image.h"
#include "world/level_state.h"

#include "game/level_loading.h"
#include "game/sound_events.h"
#include "input/keyboard.h"
#include "input/platform.h"
#include "render/texture_registry.h"
#include "scene/scene.h"
#include "world/process_state.h"
#include "world/scene_files.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

void createLoadingScene()
{
    // Every Start Game reads the file anew; the earlier one goes first.
    Level.LoadingScene.reset();
    Level.LoadingScene = readSceneFile("Loading.ASE");
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
        if (other != item && Process.MenuItems[other].spin != 0.0f)
            return false;
    return true;
}

// Start Game, Instructions and Credits hand over to their screen.
void fire(int item)
{
    releaseFallingPointsImage();
    MenuItem& menuItem = Process.MenuItems[item];
    switch (item) {
    case StartGameItem:
        createLoadingScene();
        Process.LoadingActive = true;
        menuItem.spin = 0.0f;
        Process.MenuActive = false;
        break;
    case InstructionsItem:
        Process.InstructionsActive = true;
        Process.MenuActive = false;
        menuItem.spin = 0.0f;
        break;
    case CreditsItem:
        Process.CreditsActive = true;
        Process.MenuActive = false;
        menuItem.spin = 0.0f;
        break;
    default:
        break;
    }
}

void placeItems(const float angles[4])
{
    if (!Process.MainMenuScene)
        return;
    SceneNode* startCaption = Process.MainMenuScene->findNode("StartGame");
    SceneNode* startBox = Process.MainMenuScene->findNode("BoxStartGame");
    if (!startCaption || !startBox)
        return;
    for (int item = 0; item < 4; ++item) {
        SceneNode* caption = Process.MainMenuScene->findNode(Process.MenuItems[item].captionNode);
        SceneNode* box = Process.MainMenuScene->findNode(Process.MenuItems[item].boxNode);
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

// The falling points' grid runs in rows of x; a row's heights and speeds lie
// at its index plus z.
int gridRow(int x) { return x * 1000 + 500500; }

// Before the first fall the spacing is not yet drawn: no points.
int gridPointCount()
{
    const int x = Process.pointSpacingX, z = Process.pointSpacingZ;
    return x > 0 && z > 0 ? (999 / x + 1) * (999 / z + 1) : 0;
}

// A row's points, `count` of them `step` apart (the step known to the
// compiler at the densest spacing, and the heights known to lie apart from
// the speeds, so it can move several at once).
template <int Step>
void fallInRow(float* __restrict heights, const float* __restrict speeds, int count, int step)
{
    if constexpr (Step > 0)
        step = Step;
    for (int j = 0; j < count; ++j) {
        const float height = heights[j * step] < -500.0f ? 0.0f : heights[j * step];
        heights[j * step] = height - speeds[j * step];
    }
}

// Each point falls by its own speed; one that has fallen below the floor
// starts again at the top in the next frame (it is shown below the floor
// once). In the first frame every point has just fallen from -500.
void advanceFallingPoints()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!Process.pointsFilled) {
        Process.pointSpacingX = drawSpacing();
        Process.pointSpacingZ = drawSpacing();
        // Only the grid's points: the others are never shown, and left
        // unwritten they take no memory.
        for (int x = -500; x < 500; x += Process.pointSpacingX)
            for (int z = -500; z < 500; z += Process.pointSpacingZ) {
                const int k = gridRow(x) + z;
                Process.PointSpeeds[k] = static_cast<float>(std::rand() % 50 + 1) / 100.0f;
                Process.PointHeights[k] -= 500.0f;
            }
        Process.pointsFilled = true;
    }
    const int spacingX = Process.pointSpacingX, spacingZ = Process.pointSpacingZ;
    for (int x = -500; x < 500; x += spacingX) {
        float* heights = Process.PointHeights.data() + gridRow(x) - 500;
        const float* speeds = Process.PointSpeeds.data() + gridRow(x) - 500;
        if (spacingZ == 1)
            fallInRow<1>(heights, speeds, 1000, 1);
        else
            fallInRow<0>(heights, speeds, 999 / spacingZ + 1, spacingZ);
    }
}

// Our helicopter's place beside the items, bobbing, on top of the
// modelview.
void placeHeroHelicopter()
{
    glTranslatef(0.0f, Process.bobOffset + 10.0f, -95.0f);
    glRotatef(-45.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-10.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glScalef(20.0f, 20.0f, 20.0f);
}

void drawHeroHelicopter()
{
    glPushMatrix();
    glLoadIdentity();
    placeHeroHelicopter();
    if (Process.HeroHeliScene)
        TextureRegistry::draw(Process.HeroHeliScene.get());
    glPopMatrix();
}

// White, 3 pixels wide, 300 units above their height; those that can show
// sent as one array (up to a million points at spacing 1).
void drawFallingPoints()
{
    static std::vector<float> corners; // the drawing's scratch
    const int spacingX = Process.pointSpacingX, spacingZ = Process.pointSpacingZ;
    if (fallingPointsAsImage(gridPointCount()) && beginFallingPointsImage()) {
        for (int x = -500; x < 500; x += spacingX)
            addFallingPointsRow(static_cast<float>(x), Process.PointHeights.data() + gridRow(x) - 500,
                                999 / spacingZ + 1, spacingZ);
        // Their depths matter only where the helicopter (drawn before them)
        // and the menu (drawn after) reach.
        static std::vector<PixelRect> depthRects;
        depthRects.clear();
        addSceneRects(Process.MainMenuScene.get(), depthRects);
        glPushMatrix();
        glLoadIdentity();
        placeHeroHelicopter();
        addSceneRects(Process.HeroHeliScene.get(), depthRects);
        glPopMatrix();
        endFallingPointsImage(depthRects);
        return;
    }
    int viewport[4] = {0, 0, 1, 1};
    const Matrix4 clip = currentClip(viewport);
    // Four pixels: beyond a 3-pixel point's reach of the picture's edge.
    visibleFallingPoints(clip, 8.0f / static_cast<float>(std::max(viewport[2], 1)),
                         8.0f / static_cast<float>(std::max(viewport[3], 1)), corners);
    glPointSize(3.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners.data());
    // In small batches: Mesa's software renderer makes each wide point a
    // quad, and each time its small vertex buffer fills it walks all the
    // vertices of the draw again, so one draw of a hundred thousand points
    // costs far more than many small ones (15 ms a frame at spacing 1).
    constexpr GLsizei Batch = 256;
    const GLsizei count = static_cast<GLsizei>(corners.size() / 3);
    for (GLsizei first = 0; first < count; first += Batch)
        glDrawArrays(GL_POINTS, first, std::min(Batch, count - first));
    glPopClientAttrib();
}

void advanceBob()
{
    bool rising = false;
    if (Process.bobOffset < 2.0f && Process.bobRising) {
        Process.bobOffset += 0.01f;
        rising = true;
    } else {
        Process.bobRising = false;
    }
    if (Process.bobOffset > -3.0f && !rising)
        Process.bobOffset -= 0.01f;
    else
        Process.bobRising = true;
}

} // namespace

namespace {

// Whether each point of a row, `count` of them `step` apart in z from -500,
// can show: first a loop the compiler can run several points at once
// (with the step known, 1 at the densest spacing), then the ones that can.
template <int Step>
void visibleInRow(const float* c, float fx, const float* heights, int count, int step, float spanX,
                  float spanY, std::vector<float>& corners)
{
    if constexpr (Step > 0)
        step = Step;
    static int shows[1000];
    for (int j = 0; j < count; ++j) {
        const float fz = static_cast<float>(-500 + j * step), y = heights[j * step] + 300.0f;
        const float w = c[3] * fx + c[7] * y + c[11] * fz + c[15];
        const float cx = c[0] * fx + c[4] * y + c[8] * fz + c[12];
        const float cy = c[1] * fx + c[5] * y + c[9] * fz + c[13];
        shows[j] = (w > 0.0f) & (std::fabs(cx) <= w * spanX) & (std::fabs(cy) <= w * spanY);
    }
    static float row[3 * 1000];
    int n = 0;
    for (int j = 0; j < count; ++j)
        if (shows[j]) {
            row[n++] = fx;
            row[n++] = heights[j * step] + 300.0f;
            row[n++] = static_cast<float>(-500 + j * step);
        }
    corners.insert(corners.end(), row, row + n);
}

} // namespace

void visibleFallingPoints(const Matrix4& clip, float marginX, float marginY, std::vector<float>& corners)
{
    const int spacingX = Process.pointSpacingX, spacingZ = Process.pointSpacingZ;
    const int count = 999 / spacingZ + 1;
    corners.clear();
    corners.reserve(3 * static_cast<size_t>((999 / spacingX + 1) * count));
    const float spanX = 1.0f + marginX, spanY = 1.0f + marginY;
    for (int x = -500; x < 500; x += spacingX) {
        const float* heights = Process.PointHeights.data() + gridRow(x) - 500;
        const float fx = static_cast<float>(x);
        if (spacingZ == 1)
            visibleInRow<1>(clip.m, fx, heights, 1000, 1, spanX, spanY, corners);
        else
            visibleInRow<0>(clip.m, fx, heights, count, spacingZ, spanX, spanY, corners);
    }
}

void menuPlacementStep()
{
    for (int item = 0; item < 4; ++item) {
        MenuItem& menuItem = Process.MenuItems[item];
        if (wasKeyPressed(menuItem.key) && othersIdle(item)) {
            if (menuItem.spin == 0.0f)
                playSound(Sound::MenuSpin);
            // Start Game fires when the spin ends: the level's files are
            // read meanwhile, on a worker thread.
            if (item == StartGameItem && menuItem.spin == 0.0f)
                readLevelAhead();
            menuItem.spin += menuItem.step;
        }
        if (menuItem.spin > 0.0f)
            menuItem.spin += menuItem.step;
    }

    if (wasKeyPressed(VK_ESCAPE)) {
        platformDestroyWindow();
        return;
    }

    float angles[4];
    for (int item = 0; item < 4; ++item)
        angles[item] = spinAngle(Process.MenuItems[item].spin);

    for (int item = 0; item < 4; ++item) {
        if (Process.MenuItems[item].spin <= SpinToFire)
            continue;
        if (item != ExitItem) {
            fire(item);
            return;
        }
        // Exit: the window goes at the end of this frame, which still
        // shows the menu with the Exit item back at rest.
        platformDestroyWindow();
        Process.MenuItems[item].spin = 0.0f;
        angles[item] = 0.0f;
        break;
    }

    placeItems(angles);
}

void advanceMenu()
{
    Process.rotorAngle -= 70.0f;
    if (Process.HeroHeliScene) {
        if (SceneNode* rotor = Process.HeroHeliScene->findNode("HeliRotor"))
            pivotSpin({rotor}, *rotor, Process.rotorAngle);
    }
    advanceBob();
    advanceFallingPoints();
}

void prepareMenuDrawing()
{
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);
    readFallingPointRows();
    // Mesa compiles its code for the helicopter's and the items' states at
    // their first drawing: here, with every pixel scissored away.
    drawScissoredAway([] {
        drawHeroHelicopter();
        if (Process.MainMenuScene)
            TextureRegistry::draw(Process.MainMenuScene.get());
    });
    glLoadIdentity();
}

void drawMenu()
{
    // The menu's place: its items, and the falling points, 100 units ahead.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);
    readFallingPointRows();
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawHeroHelicopter();
    drawFallingPoints();

    if (Process.MainMenuScene)
        TextureRegistry::draw(Process.MainMenuScene.get());
}
