#include "game/game_state.h"

#include <GL/gl.h>

// The map was modelled with z up and its origin away from the course's
// start: turn it upright and move it under the camera.
void worldPlacement()
{
    glTranslatef(270.0f, 0.0f, -130.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
}
