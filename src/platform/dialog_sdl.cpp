// The display-settings dialog on SDL2. (Drawn by the dialog's own code.)

#include "platform/platform.h"

bool platformRunDisplayDialog(bool* fullScreen)
{
    *fullScreen = false;
    return true;
}
