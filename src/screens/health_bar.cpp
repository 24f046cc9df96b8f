#include "screens/health_bar.h"

#include "game/records.h"

#include <GL/gl.h>

namespace {

void lines(float bound)
{
    // A float counter, as the bar was drawn: 401 lines for a bound of 4.
    for (float b = 0.0f; b < bound; b += 0.01f) {
        glVertex3f(b + 2.0f, 1.5f, 0.0f);
        glVertex3f(b + 2.0f, 2.0f, 0.0f);
    }
}

} // namespace

void drawHealthBar(const HealthTriple& triple)
{
    glBegin(GL_LINES);
    glColor3f(0.0f, 1.0f, 0.0f);
    lines(triple.health * 0.5f);
    glColor3f(1.0f, 0.0f, 0.0f);
    lines(triple.capacity * 0.5f);
    glEnd();
}
