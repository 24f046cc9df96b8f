#include "screens/game_screen.h"
#include "shot.h"

#include "game/game_frame.h"
#include "level_data.h"
#include "scene/scene.h"
#include "world/level_layout.h"
#include "world/level_state.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The level as the player sees it from one course record, and a top-down
// map of the whole level.

namespace {

void drawAtBase(Scene* scene, const layout::Point& base)
{
    glPushMatrix();
    worldPlacement();
    glTranslatef(float(base.x), float(base.y), float(base.z));
    draw(scene);
    glPopMatrix();
}

} // namespace

// argument: the record number (the game's frame f shows record 2 f + 1).
void renderGameView(const std::string& argument)
{
    const std::vector<CourseRecord>& course = courseRecords();
    size_t index = argument.empty() ? 1 : size_t(std::strtoul(argument.c_str(), nullptr, 10));
    if (index >= course.size())
        index = course.size() - 1;
    const CourseRecord& r = course[index];
    startFrame(800, 600, true, 0.5f, 0.5f, 0.5f);

    drawGameHud(330.0f);

    perspective();
    Scene* sky = loadScene("Sky.ASE");
    Scene* map1 = loadScene("map1.ASE");
    Scene* map2 = loadScene("map2.ASE");
    Scene* road = loadScene("road.ASE");
    Scene* base = loadScene("MilitaryBase.ASE");
    Scene* heli = loadScene("HeroHeli.ASE");
    glLoadIdentity();
    glRotatef(float(r.heading), 0, 1, 0);
    glTranslatef(float(r.x), float(r.y), float(r.z));
    // The sky has turned once for each frame of the course so far, the
    // frame shown included.
    Level.SkyScene.reset(sky);
    Level.Map1Scene.reset(map1);
    Level.Map2Scene.reset(map2);
    Level.RoadScene.reset(road);
    Game.SkyAngle = 0.01f * float(index / 2) - 0.01f;
    Game.SkyAngle += 0.01f;
    drawWorld();
    for (const layout::Point& b : layout::BasePlaces)
        drawAtBase(base, b);
    // The enemies waiting at their spawn points, turned to face the player.
    for (const layout::Point& e : layout::EnemySpawns) {
        glPushMatrix();
        glTranslatef(float(e.x), float(e.y), float(e.z));
        glRotatef(180, 0, 1, 0);
        draw(heli);
        glPopMatrix();
    }
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, -3, -12);
    draw(heli);
    glPopMatrix();
}

// Top-down: the ground shaded by height, the road, the bases (squares; grey when out
// of reach), the enemy spawns (red) and the course with heading ticks.
void renderLevelMap(const std::string&)
{
    const float x0 = -1100, x1 = 2500, y0 = -400, y1 = 8700;
    int width = 540, height = int(540 * (y1 - y0) / (x1 - x0));
    startFrame(width, height, false, 0.2f, 0.2f, 0.25f);
    glDisable(GL_FOG);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(x0, x1, y0, y1, -2000, 2000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The ground, shaded by height and lit from the north-west, straight
    // from the height function the terrain meshes sample.
    const float cell = 15.0f;
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    for (float y = y0; y < y1; y += cell)
        for (float x = x0; x < x1; x += cell) {
            float corners[4][2] = {{x, y}, {x + cell, y}, {x + cell, y + cell}, {x, y + cell}};
            for (auto& c : corners) {
                double h = groundHeight(c[0], c[1]);
                double dx = groundHeight(c[0] + 5, c[1]) - groundHeight(c[0] - 5, c[1]);
                double dy = groundHeight(c[0], c[1] + 5) - groundHeight(c[0], c[1] - 5);
                double shade = std::clamp(0.8 + (dx - dy) * 0.06, 0.35, 1.2);
                double t = std::clamp((h + 115.7) / 280.0, 0.0, 1.0);
                float r = float((0.36 + 0.45 * t) * shade), g = float((0.46 + 0.25 * t) * shade),
                      b = float((0.28 + 0.2 * t) * shade);
                glColor3f(r, g, b);
                glVertex3f(c[0], c[1], 0);
            }
        }
    glEnd();
    Scene* road = loadScene("road.ASE");
    GLfloat fromAbove[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, fromAbove);
    glClear(GL_DEPTH_BUFFER_BIT);
    draw(road);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);

    glLineWidth(1.5f);
    glBegin(GL_LINE_STRIP);
    glColor3f(1, 1, 0.3f);
    for (const CourseRecord& r : courseRecords())
        glVertex3f(float(layout::mapXOfWorldX(-r.x)), float(layout::mapYOfProgress(r.z)), 0);
    glEnd();
    glBegin(GL_LINES);
    const std::vector<CourseRecord>& course = courseRecords();
    for (size_t i = 0; i < course.size(); i += 600) {
        const CourseRecord& r = course[i];
        float x = float(layout::mapXOfWorldX(-r.x)), y = float(layout::mapYOfProgress(r.z)),
              a = float(r.heading * 3.14159265 / 180.0);
        glColor3f(1, 1, 1);
        glVertex3f(x, y, 0);
        glVertex3f(x + 90 * std::sin(a), y + 90 * std::cos(a), 0);
    }
    glEnd();

    glPointSize(7);
    glBegin(GL_POINTS);
    for (int i = 0; i < int(std::size(layout::BasePlaces)); ++i) {
        bool out = false;
        for (int b : BasesOutOfReach)
            out = out || b == i;
        if (out)
            glColor3f(0.6f, 0.6f, 0.6f);
        else
            glColor3f(0.2f, 0.6f, 1.0f);
        glVertex3f(float(layout::BasePlaces[i].x), float(layout::BasePlaces[i].y), 0);
    }
    glColor3f(1, 0.15f, 0.1f);
    for (const layout::Point& e : layout::EnemySpawns)
        glVertex3f(float(layout::mapXOfWorldX(e.x)), float(layout::mapYOfWorldZ(e.z)), 0);
    glEnd();
    // The goal line.
    glBegin(GL_LINES);
    glColor3f(0.2f, 1, 0.2f);
    const float goal = float(layout::mapYOfProgress(layout::FinishLineZ));
    glVertex3f(x0, goal, 0);
    glVertex3f(x1, goal, 0);
    glEnd();
}
