#include "shot.h"

void renderGameView(const std::string&) {}
void renderLevelMap(const std::string&) {}
