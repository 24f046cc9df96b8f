#include "screens/info_screens.h"

#include "render/texture_registry.h"
#include "scene/scene.h"
#include "shell/keyboard.h"
#include "shell/process_state.h"

#include <GL/gl.h>

void loadInstructionsScene()
{
    Process.InstructionsScene = std::make_unique<Scene>("Instructions.ASE", "testname");
}

void loadCreditsScenes()
{
    Process.Credits0Scene = std::make_unique<Scene>("Credits0.ASE", "testname");
    Process.Credits1Scene = std::make_unique<Scene>("Credits1.ASE", "testname");
    Process.Credits2Scene = std::make_unique<Scene>("Credits2.ASE", "testname");
    Process.Credits3Scene = std::make_unique<Scene>("Credits3.ASE", "testname");
}

void instructionsScreenStep()
{
    // What a buffer holds after a swap is undefined on today's systems:
    // the page gets a clean background of its own, and so does the frame
    // that leaves it.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wasKeyPressed(VK_ESCAPE)) {
        Process.MenuActive = true;
        Process.InstructionsActive = false;
        return;
    }
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.4f, 0.0f, -47.0f);
    glScalef(0.9f, 0.9f, 0.9f);
    TextureRegistry::draw(Process.InstructionsScene.get());
    glPopMatrix();
}

void creditsScreenStep()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wasKeyPressed(VK_ESCAPE)) {
        Process.MenuActive = true;
        Process.CreditsActive = false;
        return;
    }
    if (Process.creditsScroll < 130.0f)
        Process.creditsScroll += 0.1f;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, Process.creditsScroll, -40.0f);
    TextureRegistry::draw(Process.Credits0Scene.get());
    TextureRegistry::draw(Process.Credits1Scene.get());
    TextureRegistry::draw(Process.Credits2Scene.get());
    TextureRegistry::draw(Process.Credits3Scene.get());
    glPopMatrix();
}
