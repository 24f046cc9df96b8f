/* Linked into the game in sanitizer builds only: no shared library is ever
 * unloaded. When SDL closes the X display, Mesa unloads its DRI driver, and
 * LeakSanitizer, checking after main has returned, can then name neither the
 * driver's allocations nor the globals that still point to them: they show
 * as leaks in "<unknown module>", which no suppression can tell apart from
 * ours. Kept loaded, the driver's memory stays reachable from its own
 * globals, and every leak report names a library we can judge. */
#include <dlfcn.h>

int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
