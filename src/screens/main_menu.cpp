#include "screens/main_menu.h"

// The menu's items, helicopter and falling points are not built yet: both
// steps leave the frame as they find it.
void menuPlacementStep() {}
void menuDrawingStep() {}
