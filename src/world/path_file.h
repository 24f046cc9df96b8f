#pragma once

// The course file "Patho.txt": the recorded flight of the camera as plain
// text. Its numbers are separated by any run of double quotes, spaces,
// commas, tabs, line feeds, parentheses and asterisks; the control step
// takes them one frame at a time (game/course.h).

#include <climits>

// Refills the level's PathText (world/level_state.h) from "Patho.txt" in the current directory: at most
// PathTextSize - 1 bytes, CR LF read as LF. A missing file leaves the text
// empty, and the camera still; a missing course or one without a whole
// record is reported as a damaged file.
void loadPathText();

// The whole records of a course text: runs of four numbers (x, y, z and
// heading) after its first word, counted up to `enough`. The text is not
// changed.
int wholeCourseRecords(const char* text, int enough = INT_MAX);
