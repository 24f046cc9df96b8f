#include "screens/info_screens.h"

#include "input/keyboard.h"
#include "render/texture_registry.h"
#include "scene/scene.h"
#include "world/process_state.h"
#include "world/scene_files.h"

#include <GL/gl.h>

void loadInstructionsScene() { Process.InstructionsScene = loadSceneFile("Instructions.ASE"); }

void loadCreditsScenes()
{
    Process.Credits0Scene = loadSceneFile("Credits0.ASE");
    Process.Credits1Scene = loadSceneFile("Credits1.ASE");
    Process.Credits2Scene = loadSceneFile("Credits2.ASE");
    Process.Credits3Scene = loadSceneFile("Credits3.ASE");
}

void advanceInstructions()
{
    if (wasKeyPressed(VK_ESCAPE)) {
        Process.MenuActive = true;
        Process.InstructionsActive = false;
    }
}

void drawInstructionsScreen()
{
    // What a buffer holds after a swap is undefined on today's systems:
    // the page gets a clean background of its own, and so does the frame
    // that leaves it.
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (!Process.InstructionsActive)
        return;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.4f, 0.0f, -47.0f);
    glScalef(0.9f, 0.9f, 0.9f);
    TextureRegistry::draw(Process.InstructionsScene.get());
    glPopMatrix();
}

void advanceCredits()
{
    if (wasKeyPressed(VK_ESCAPE)) {
        Process.MenuActive = true;
        Process.CreditsActive = false;
        return;
    }
    if (Process.creditsScroll < 130.0f)
        Process.creditsScroll += 0.1f;
}

void drawCreditsScreen()
{
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (!Process.CreditsActive)
        return;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, Process.creditsScroll, -40.0f);
    TextureRegistry::draw(Process.Credits0Scene.get());
    TextureRegistry::draw(Process.Credits1Scene.get());
    TextureRegistry::draw(Process.Credits2Scene.get());
    TextureRegistry::draw(Process.Credits3Scene.get());
    glPopMatrix();
}
