#include "game/course.h"

#include "game/game_state.h"
#include "scene/number_text.h"
#include "world/level_state.h"
#include "world/path_file.h"

#include <cstring>

namespace {

const char* const Separators = "\" ,\t\n)(*";

char* nextToken() { return strtok_r(nullptr, Separators, &Game.courseContext); }

} // namespace

void advanceCourse()
{
    if (Game.firstRead) {
        Game.courseCursor = strtok_r(Level.PathText.data(), Separators, &Game.courseContext);
        Game.firstRead = false;
    }
    if (!Game.courseCursor)
        return;
    for (int k = 0; 4.0f * Game.PathSpeed > static_cast<float>(k); ++k)
        Game.courseCursor = nextToken();

    char* record[4];
    for (char*& token : record) {
        if (!Game.courseCursor)
            return;
        token = Game.courseCursor = nextToken();
    }
    if (!Game.courseCursor)
        return;
    Game.PathX = static_cast<float>(localeFreeAtof(record[0]));
    Game.PathY = static_cast<float>(localeFreeAtof(record[1]));
    Game.PathZ = static_cast<float>(localeFreeAtof(record[2]));
    Game.PathYaw = static_cast<float>(localeFreeAtof(record[3]));
}
