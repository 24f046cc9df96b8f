#include "offscreen_context.h"

#include <GL/osmesa.h>

#include <vector>

bool makeOffscreenContext()
{
    static std::vector<unsigned char> buffer(4 * 4 * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    return context && OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, 4, 4);
}
