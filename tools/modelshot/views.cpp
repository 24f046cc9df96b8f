#include "shot.h"

#include "math/matrix4.h"
#include "scene/animation.h"
#include "scene/scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

void pivotTurn(SceneNode* node, float angle, float ax, float ay, float az)
{
    if (!node)
        return;
    node->worldMatrix = rotatedAsGl(node->nodeMatrix, angle, ax, ay, az) * inverse(node->nodeMatrix);
}

namespace {

void drawAt(Scene* scene, float x, float y, float z)
{
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y, z);
    draw(scene);
    glPopMatrix();
}

std::vector<float> numbers(const std::string& text)
{
    std::vector<float> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        out.push_back(std::strtof(item.c_str(), nullptr));
    return out;
}

// The menu as the player first sees it: the helicopter hovering in the
// upper middle, the four items below it.
void menuView(const std::string&)
{
    startFrame(800, 600, false, 0.5f, 0.5f, 0.5f);
    perspective();
    Scene* heli = loadScene("HeroHeli.ASE");
    Scene* menu = loadScene("main.ASE");
    pivotTurn(heli->findNode("HeliRotor"), -70.0f * 7, 0, 1, 0);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 10, -95);
    glRotatef(-45, 0, 1, 0);
    glRotatef(-10, 0, 0, 1);
    glRotatef(-90, 0, 1, 0);
    glScalef(20, 20, 20);
    draw(heli);
    glPopMatrix();
    drawAt(menu, 0, 0, -100);
}

// Any model, framed from its bounding box: argument "file[,yaw,pitch,zoom]".
// Models in map coordinates (z up) are stood upright first.
void orbitView(const std::string& argument)
{
    std::string file = argument.substr(0, argument.find(','));
    std::vector<float> p =
        numbers(argument.find(',') == std::string::npos ? "" : argument.substr(argument.find(',') + 1));
    float yaw = p.size() > 0 ? p[0] : 30.0f, pitch = p.size() > 1 ? p[1] : 20.0f,
          zoom = p.size() > 2 ? p[2] : 1.0f;
    bool zUp =
        file.rfind("MilitaryBase", 0) == 0 || file == "map1.ASE" || file == "map2.ASE" || file == "road.ASE";
    startFrame(800, 600, true, 0.55f, 0.62f, 0.7f);
    perspective();
    Scene* scene = loadScene(file);
    float centre[3];
    float radius = boundingSphere(*scene, centre);
    float distance = radius / std::tan(27.0f * 3.14159f / 180.0f) / zoom;
    glLoadIdentity();
    glTranslatef(0, 0, -distance);
    glRotatef(pitch, 1, 0, 0);
    glRotatef(yaw, 0, 1, 0);
    if (zUp)
        glRotatef(-90, 1, 0, 0);
    glTranslatef(-centre[0], -centre[1], -centre[2]);
    // The crash animation: "DestroyHeli(1).ASE,yaw,pitch,zoom,steps".
    AnimationCursors cursors;
    if (p.size() > 3)
        for (int i = 0; i < int(p[3]); ++i)
            scene->update(cursors);
    draw(scene);
}

// The crash animation after n frames, framed on its whole fall: the
// helicopter starts in the upper part of the picture and falls through it.
void crashView(const std::string& argument)
{
    int frames = argument.empty() ? 0 : std::atoi(argument.c_str());
    startFrame(800, 600, true, 0.55f, 0.62f, 0.7f);
    perspective();
    Scene* crash = loadScene("DestroyHeli(1).ASE");
    glLoadIdentity();
    glTranslatef(0, 4.5f, -14);
    glRotatef(12, 1, 0, 0);
    glRotatef(30, 0, 1, 0);
    AnimationCursors cursors;
    for (int i = 0; i < frames && !crash->animationEnded; ++i)
        crash->update(cursors);
    draw(crash);
}

// The loading screen with the bar at a given length (2.1 is full).
void loadingView(const std::string& argument)
{
    float progress = argument.empty() ? 1.2f : std::strtof(argument.c_str(), nullptr);
    startFrame(800, 600, false, 0.5f, 0.5f, 0.5f);
    perspective();
    Scene* loading = loadScene("Loading.ASE");
    if (SceneNode* bar = loading->findNode("Bar"))
        bar->worldMatrix = scaled(bar->nodeMatrix, 1, 1, progress) * inverse(bar->nodeMatrix);
    drawAt(loading, -5, 0, -45);
}

void instructionsView(const std::string&)
{
    startFrame(800, 600, false, 0.5f, 0.5f, 0.5f);
    perspective();
    Scene* page = loadScene("Instructions.ASE");
    glLoadIdentity();
    glTranslatef(0.4f, 0, -47);
    glScalef(0.9f, 0.9f, 0.9f);
    draw(page);
}

// The credits roll at scroll offset s (-130 at the start, 130 at rest).
void creditsView(const std::string& argument)
{
    float s = argument.empty() ? 0.0f : std::strtof(argument.c_str(), nullptr);
    startFrame(800, 600, false, 0.5f, 0.5f, 0.5f);
    perspective();
    Scene* parts[4] = {loadScene("Credits0.ASE"), loadScene("Credits1.ASE"), loadScene("Credits2.ASE"),
                       loadScene("Credits3.ASE")};
    glLoadIdentity();
    glTranslatef(0, s, -40);
    for (Scene* part : parts)
        draw(part);
}

// The HUD over a plain sky, as in a game with three lives and full fuel.
void hudView(const std::string&)
{
    startFrame(800, 600, true, 0.55f, 0.62f, 0.7f);
    drawGameHud(330.0f);
    // The hero, where the game draws it, to see that the panel leaves it clear.
    perspective();
    Scene* heli = loadScene("HeroHeli.ASE");
    drawAt(heli, 0, -3, -12);
}

// A caption straight ahead: "file,distance".
void captionView(const std::string& argument)
{
    std::string file = argument.substr(0, argument.find(','));
    float distance = argument.find(',') == std::string::npos
                         ? 100.0f
                         : std::strtof(argument.substr(argument.find(',') + 1).c_str(), nullptr);
    startFrame(800, 600, true, 0.55f, 0.62f, 0.7f);
    perspective();
    drawAt(loadScene(file), 0, 0, -distance);
}

} // namespace

void renderGameView(const std::string& argument);
void renderLevelMap(const std::string& argument);

namespace {

// The view the game shows each file in, by file name: the screens under
// their own placements, the HUD pieces in the HUD, the captions at their
// distances, the world from a course record, and the small models (placed
// by the game under a moving frame) close up.
bool viewForFile(const std::string& file, std::string& view, std::string& argument)
{
    struct Entry {
        const char* file;
        const char* view;
        const char* argument;
    };
    static const Entry table[] = {
        {"main.ASE", "menu", ""},
        {"HeroHeli.ASE", "menu", ""},
        {"Loading.ASE", "loading", "1.2"},
        {"Instructions.ASE", "instructions", ""},
        {"Credits0.ASE", "credits", "-100"},
        {"Credits1.ASE", "credits", "-35"},
        {"Credits2.ASE", "credits", "30"},
        {"Credits3.ASE", "credits", "110"},
        {"fuel.ASE", "hud", ""},
        {"lives.ASE", "hud", ""},
        {"HeliMeters.ASE", "hud", ""},
        {"Ready.ASE", "caption", "Ready.ASE,100"},
        {"NumberThree.ASE", "caption", "NumberThree.ASE,100"},
        {"NumberTwo.ASE", "caption", "NumberTwo.ASE,100"},
        {"NumberOne.ASE", "caption", "NumberOne.ASE,100"},
        {"Winning.ASE", "caption", "Winning.ASE,150"},
        {"Loosing.ASE", "caption", "Loosing.ASE,150"},
        {"Paused.ASE", "caption", "Paused.ASE,150"},
        {"map1.ASE", "game", "2600"},
        {"map2.ASE", "game", "12000"},
        {"road.ASE", "game", "5400"},
        {"Sky.ASE", "game", "1"},
    };
    for (const Entry& e : table)
        if (file == e.file) {
            view = e.view;
            argument = e.argument;
            return true;
        }
    if (file == "DestroyHeli(1).ASE") {
        view = "crash";
        argument = "35";
        return true;
    }
    if (file.size() > 4 && file.substr(file.size() - 4) == ".ASE") {
        view = "orbit";
        argument = file;
        return true;
    }
    return false;
}

} // namespace

bool renderView(const std::string& requested, const std::string& requestedArgument, const std::string& out)
{
    std::string view = requested, argument = requestedArgument;
    if (argument.empty())
        viewForFile(requested, view, argument);
    if (view == "menu")
        menuView(argument);
    else if (view == "orbit")
        orbitView(argument);
    else if (view == "loading")
        loadingView(argument);
    else if (view == "crash")
        crashView(argument);
    else if (view == "instructions")
        instructionsView(argument);
    else if (view == "credits")
        creditsView(argument);
    else if (view == "hud")
        hudView(argument);
    else if (view == "caption")
        captionView(argument);
    else if (view == "game")
        renderGameView(argument);
    else if (view == "map")
        renderLevelMap(argument);
    else
        return false;
    savePng(out);
    return true;
}
