#include "screens/info_screens.h"

#include "render/texture_registry.h"
#include "scene/scene.h"
#include "shell/keyboard.h"
#include "shell/screen_flags.h"

#include <GL/gl.h>

Scene* InstructionsScene = nullptr;
Scene* Credits0Scene = nullptr;
Scene* Credits1Scene = nullptr;
Scene* Credits2Scene = nullptr;
Scene* Credits3Scene = nullptr;

float creditsScroll = -130.0f;

void loadInstructionsScene() { InstructionsScene = new Scene("Instructions.ASE", "testname"); }

void loadCreditsScenes()
{
    Credits0Scene = new Scene("Credits0.ASE", "testname");
    Credits1Scene = new Scene("Credits1.ASE", "testname");
    Credits2Scene = new Scene("Credits2.ASE", "testname");
    Credits3Scene = new Scene("Credits3.ASE", "testname");
}

void instructionsScreenStep()
{
    // What a buffer holds after a swap is undefined on today's systems:
    // the page gets a clean background of its own, and so does the frame
    // that leaves it.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wasKeyPressed(VK_ESCAPE)) {
        MenuActive = true;
        InstructionsActive = false;
        return;
    }
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.4f, 0.0f, -47.0f);
    glScalef(0.9f, 0.9f, 0.9f);
    TextureRegistry::draw(InstructionsScene);
    glPopMatrix();
}

void creditsScreenStep()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wasKeyPressed(VK_ESCAPE)) {
        MenuActive = true;
        CreditsActive = false;
        return;
    }
    if (creditsScroll < 130.0f)
        creditsScroll += 0.1f;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, creditsScroll, -40.0f);
    TextureRegistry::draw(Credits0Scene);
    TextureRegistry::draw(Credits1Scene);
    TextureRegistry::draw(Credits2Scene);
    TextureRegistry::draw(Credits3Scene);
    glPopMatrix();
}
