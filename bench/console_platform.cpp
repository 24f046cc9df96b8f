// The reader's one message, on a console.
#include "input/platform.h"

#include <cstdio>

void platformErrorBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
