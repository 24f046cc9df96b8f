#include "game/course.h"

#include "game/game_state.h"
#include "scene/number_text.h"
#include "world/path_file.h"

#include <cstring>

bool firstRead = true;
char* courseCursor = nullptr;
char* courseContext = nullptr;

namespace {

const char* const Separators = "\" ,\t\n)(*";

char* nextToken() { return strtok_r(nullptr, Separators, &courseContext); }

} // namespace

void advanceCourse()
{
    if (firstRead) {
        courseCursor = strtok_r(PathText, Separators, &courseContext);
        firstRead = false;
    }
    if (!courseCursor)
        return;
    for (int k = 0; 4.0f * PathSpeed > static_cast<float>(k); ++k)
        courseCursor = nextToken();

    char* record[4];
    for (char*& token : record) {
        if (!courseCursor)
            return;
        token = courseCursor = nextToken();
    }
    if (!courseCursor)
        return;
    PathX = static_cast<float>(localeFreeAtof(record[0]));
    PathY = static_cast<float>(localeFreeAtof(record[1]));
    PathZ = static_cast<float>(localeFreeAtof(record[2]));
    PathYaw = static_cast<float>(localeFreeAtof(record[3]));
}

void resetCourse()
{
    firstRead = true;
    courseCursor = nullptr;
    courseContext = nullptr;
}
