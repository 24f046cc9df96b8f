#include "game/game_reset.h"

#include "game/game_state.h"
#include "scene/animation.h"

#include <algorithm>

void startFreshGame()
{
    Game = GameState{};
    std::fill(std::begin(RotationKeyCursor), std::end(RotationKeyCursor), 0u);
    std::fill(std::begin(PositionKeyCursor), std::end(PositionKeyCursor), 0u);
    std::fill(std::begin(ScaleKeyCursor), std::end(ScaleKeyCursor), 0u);
}
