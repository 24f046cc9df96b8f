#include "screens/hud.h"

#include "game/game_state.h"
#include "render/texture_registry.h"
#include "screens/scene_drawer.h"
#include "world/level_state.h"

#include <GL/gl.h>

namespace {

void drawFuelBar()
{
    // One vertical line per tenth of a fuel unit from 257 up to the fuel
    // left: a solid band, empty at 257 or less. The blue is given as 128
    // and clamped by GL.
    glBegin(GL_LINES);
    for (float x = 257.0f; Game.Fuel > 257.0f && x < Game.Fuel; x += 0.1f) {
        glColor3f(0.0f, 0.0f, 128.0f);
        glVertex3f(x, Game.hudSlide + 264.0f, 1.0f);
        glVertex3f(x, Game.hudSlide + 274.0f, 1.0f);
    }
    glEnd();
}

} // namespace

void advanceHud()
{
    if (Game.hudSlide < 0.0f)
        Game.hudSlide += 10.0f;
    Game.hudLives = Game.Lives;
}

void drawHudLayer()
{
    // The only clear of a game frame: the game frame draws over it. The
    // stencil (only the menu uses it) is cleared with the depth that shares
    // its words, which is a plain fill rather than one that keeps it.
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    glPushMatrix();
    glLoadIdentity();
    glTranslatef(Game.hudSlide + 300.0f, 265.0f, 0.0f);
    glScalef(2.2f, 2.7f, 1.0f);
    DrawScene(Level.FuelScene.get());
    glPopMatrix();

    const struct {
        int life;
        float x;
    } icons[] = {{3, 340.0f}, {2, 310.0f}, {1, 280.0f}};
    for (const auto& icon : icons) {
        if (Game.hudLives < icon.life)
            continue;
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(Game.hudSlide + icon.x, 223.0f, 1.0f);
        glScalef(0.4f, 0.4f, 0.5f);
        DrawScene(Level.LivesScene.get());
        glPopMatrix();
    }

    glPushMatrix();
    glLoadIdentity();
    drawFuelBar();
    glPopMatrix();

    glPushMatrix();
    glLoadIdentity();
    glScalef(2.5f, 2.0f, 1.0f);
    DrawScene(Level.HeliMetersScene.get());
    glPopMatrix();
}
