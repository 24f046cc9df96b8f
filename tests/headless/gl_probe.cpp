#include "headless/gl_probe.h"

#include <GL/gl.h>

namespace glprobe {

int modelviewDepth()
{
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

int projectionDepth()
{
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    return depth;
}

int matrixMode()
{
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

void projectionMatrix(float out[16]) { glGetFloatv(GL_PROJECTION_MATRIX, out); }

void modelviewMatrix(float out[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, out); }

void viewport(int out[4]) { glGetIntegerv(GL_VIEWPORT, out); }

} // namespace glprobe
