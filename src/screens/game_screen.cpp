#include "screens/game_screen.h"

#include "game/game_state.h"
#include "scene/scene.h"
#include "screens/effects.h"
#include "screens/game_overlays.h"
#include "screens/health_bar.h"
#include "screens/scene_drawer.h"
#include "world/level_layout.h"
#include "world/level_state.h"
#include "world/process_state.h"

#include <GL/gl.h>

namespace {

void drawBase(const BaseSight& s)
{
    if (s.look == BaseSight::Nothing)
        return;
    glPushMatrix();
    glLoadMatrixf(s.place.m);
    if (s.look == BaseSight::Wreck)
        drawWreck(s.wreckPhase);
    else
        DrawScene(s.look == BaseSight::Intact ? Level.MilitaryBaseScene.get()
                                              : Level.MilitaryBase1Scene.get());
    glPopMatrix();
    if (s.look == BaseSight::Wreck)
        return;
    glPushMatrix();
    glLoadMatrixf(s.healthBarPlace.m);
    drawHealthBar(s.health);
    glPopMatrix();
}

void drawEnemy(const EnemySight& s)
{
    if (s.shown && (s.alive || s.crashing)) {
        glPushMatrix();
        if (s.alive) {
            glLoadMatrixf(s.place.m);
            drawHealthBar(s.health);
            glLoadMatrixf(s.model.m);
            DrawScene(Process.HeroHeliScene.get());
        } else {
            glLoadMatrixf(s.model.m);
            drawCrash(s.crashPose);
        }
        glPopMatrix();
    }
    if (s.shotShown) {
        glPushMatrix();
        glLoadMatrixf(s.shotPlace.m);
        DrawScene(Level.BulletScene.get());
        glPopMatrix();
    }
}

void drawShot(const ShotSight& s, Scene* model)
{
    if (s.kind == ShotSight::Nothing)
        return;
    glPushMatrix();
    glLoadMatrixf(s.place.m);
    if (s.kind == ShotSight::Model)
        DrawScene(model);
    else
        drawExplosion(s.explosionAge);
    glPopMatrix();
}

// 100 units in front of the camera.
void countdownCaption(Scene* scene)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -100.0f);
    DrawScene(scene);
    glPopMatrix();
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

} // namespace

// The map was modelled with z up and its origin away from the course's
// start: turn it upright and move it under the camera.
void worldPlacement()
{
    glTranslatef(static_cast<float>(layout::PlacementOffset.x), static_cast<float>(layout::PlacementOffset.y),
                 static_cast<float>(layout::PlacementOffset.z));
    glRotatef(static_cast<float>(layout::PlacementTurn), 1.0f, 0.0f, 0.0f);
}

void drawBases(const std::vector<BaseSight>& sights)
{
    for (const BaseSight& s : sights)
        drawBase(s);
}

void drawEnemies(const std::vector<EnemySight>& sights)
{
    for (const EnemySight& s : sights)
        drawEnemy(s);
}

void drawShots(const std::vector<ShotSight>& sights, Scene* model)
{
    for (const ShotSight& s : sights)
        drawShot(s, model);
}

// The map halves and the road are fogged; the sky, drawn without fog,
// comes after them. It lies beyond every part of the map, so it shows only
// where nothing covers it, over the clear colour alone, as it would if drawn
// first; but the pixels the ground covers are not shaded twice.
void drawWorld()
{
    glPushMatrix();
    worldPlacement();
    glEnable(GL_FOG);
    DrawScene(Level.Map1Scene.get());
    DrawScene(Level.Map2Scene.get());
    DrawScene(Level.RoadScene.get());
    glDisable(GL_FOG);
    glPushMatrix();
    glRotatef(Game.SkyAngle, 1.0f, 0.0f, 0.0f);
    glRotatef(Game.SkyAngle * 0.5f, 1.0f, 0.0f, 1.0f);
    DrawScene(Level.SkyScene.get());
    glPopMatrix();
    glEnable(GL_FOG);
    glPopMatrix();
}

void drawGameFrame()
{
    const GameView& view = Game.View;
    glPushMatrix();
    glLoadMatrixf(Game.Camera.m);

    if (view.won)
        wonScreen();
    if (view.lost)
        lostScreen();
    if (view.ready)
        countdownCaption(Level.ReadyScene.get());
    if (view.three)
        countdownCaption(Level.NumberThreeScene.get());
    if (view.two)
        countdownCaption(Level.NumberTwoScene.get());
    if (view.one)
        countdownCaption(Level.NumberOneScene.get());
    drawWorld();
    drawBases(view.bases);
    drawEnemies(view.enemies);
    drawShots(view.rockets, Level.RocketScene.get());
    drawShots(view.bullets, Level.BulletScene.get());
    glPopMatrix(); // the camera

    drawHero();
}
