#include "game/pause.h"

#include "game/game_state.h"
#include "input/keyboard.h"
#include "world/process_state.h"

namespace {

constexpr int KeyP = 0x50;

bool finished() { return Game.GameWon || Game.Fuel <= LowFuel || Game.Lives == 0; }

} // namespace

void followFocus(bool focused)
{
    if (Process.HadFocus && !focused)
        Process.FocusLost = true;
    if (focused)
        Process.FocusLost = false;
    Process.HadFocus = focused;
}

bool pauseStep(uint32_t now)
{
    const bool focusLost = Process.FocusLost;
    Process.FocusLost = false;
    if (!Game.Paused) {
        if ((wasKeyPressed(KeyP) || focusLost) && !finished()) {
            Game.Paused = true;
            Game.pausedSince = now;
        }
    } else if (wasKeyPressed(KeyP) || wasKeyPressed(VK_ESCAPE)) {
        Game.Paused = false;
        Game.pausedTotal += now - Game.pausedSince;
    }
    return Game.Paused;
}

uint32_t gameMilliseconds(uint32_t now) { return now - Game.pausedTotal; }
