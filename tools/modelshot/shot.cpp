#include "shot.h"

#include "screens/hud.h"
#include "world/level_state.h"

#include "headless/headless_platform.h"
#include "image.h"
#include "render/texture_registry.h"
#include "scene/scene.h"
#include "shell/frame_loop.h"
#include "world/scene_files.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {
int Width = 800;
int Height = 600;
} // namespace

void startFrame(int width, int height, bool gameFog, float r, float g, float b)
{
    Width = width;
    Height = height;
    headless::makeContext(width, height);
    glViewport(0, 0, width, height);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    GLfloat brown[4] = {0.65f, 0.43f, 0.1f, 1.0f};
    glFogfv(GL_FOG_COLOR, gameFog ? brown : grey);
    glFogf(GL_FOG_DENSITY, gameFog ? 0.001f : 0.007f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glClearColor(r, g, b, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setupLight();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void perspective()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 0.1, 40000.0);
    glMatrixMode(GL_MODELVIEW);
}

void orthographicHud()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-400, 400, -300, 300, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

Scene* loadScene(const std::string& fileName) { return loadSceneFile(fileName).release(); }

void drawGameHud(float fuel)
{
    Level.FuelScene.reset(loadScene("fuel.ASE"));
    Level.LivesScene.reset(loadScene("lives.ASE"));
    Level.HeliMetersScene.reset(loadScene("HeliMeters.ASE"));
    Game.Fuel = fuel;
    Game.hudLives = 3;
    Game.hudSlide = 0.0f;
    orthographicHud();
    glLoadIdentity();
    drawHudLayer();
}

void draw(Scene* scene) { TextureRegistry::draw(scene); }

void savePng(const std::string& path)
{
    int w = 0, h = 0;
    std::vector<uint8_t> pixels = headless::readPixels(&w, &h);
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &pixels[(size_t(h - 1 - y) * size_t(w) + size_t(x)) * 4];
            image.set(x, y, p[0], p[1], p[2], 255);
        }
    std::vector<uint8_t> png = encodePng(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

float boundingSphere(const Scene& scene, float centre[3])
{
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (const MeshVertex& v : scene.vertices) {
        float c[3] = {v.x, v.y, v.z};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
        }
    }
    float radius = 0.0f;
    for (int k = 0; k < 3; ++k) {
        centre[k] = 0.5f * (lo[k] + hi[k]);
        radius += 0.25f * (hi[k] - lo[k]) * (hi[k] - lo[k]);
    }
    return std::sqrt(radius);
}
