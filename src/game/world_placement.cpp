#include "game/game_state.h"
#include "world/level_layout.h"

#include <GL/gl.h>

// The map was modelled with z up and its origin away from the course's
// start: turn it upright and move it under the camera.
void worldPlacement()
{
    glTranslatef(static_cast<float>(layout::PlacementOffset.x), static_cast<float>(layout::PlacementOffset.y),
                 static_cast<float>(layout::PlacementOffset.z));
    glRotatef(static_cast<float>(layout::PlacementTurn), 1.0f, 0.0f, 0.0f);
}
