// A whole game through the real frame loop with the generated level, on a
// 60 Hz clock: the demo player, which plays through the keys from what the
// screen shows, wins. (A player who touches nothing is shot down: the sound
// events test counts the hits and lives of that game, and the golden frames
// show it lost.)

#include "flight_test_support.h"
#include "level_data.h"
#include "shell/autopilot.h"
#include "world/process_state.h"

#include <algorithm>
#include <cstdio>

using namespace flighttest;

namespace {

struct GameFigures {
    int frames = 0; // to the won or lost caption
    int enemiesDown = 0;
    int basesDestroyed = 0;
    int reachableBasesLeft = 0; // bases the course brings in reach, still standing
};

// The demo player's game from the menu, a frame at a time, until the won or
// lost caption shows.
GameFigures playDemoGame()
{
    startGame(false, 80, 60); // the rules and the clock: no frame is drawn
    setAutopilot(true);
    GameFigures g;
    int frame = 0;
    for (; frame < 60 * 600; ++frame) {
        paceAt60(frame);
        runFrame(false);
        if (Process.GameActive && (Game.GameWon || Game.Fuel <= LowFuel || Game.Lives == 0))
            break;
    }
    setAutopilot(false);
    g.frames = frame;
    for (const EnemyHeli& e : Game.EnemyHelis)
        g.enemiesDown += e.damage >= 5.0f;
    for (size_t b = 0; b < Game.MilitaryBases.size(); ++b) {
        const bool destroyed = Game.MilitaryBases[b].damage > 5.0f;
        g.basesDestroyed += destroyed;
        const bool reachable =
            std::find(BasesOutOfReach.begin(), BasesOutOfReach.end(), int(b)) == BasesOutOfReach.end();
        g.reachableBasesLeft += reachable && !destroyed;
    }
    std::printf("demo player: %s after %d frames (%.1f s): enemies down %d of 11, bases destroyed %d of 22; "
                "%d lives and %.1f health left, fuel %.0f\n",
                Game.GameWon ? "won" : "lost", g.frames, g.frames / 60.0, g.enemiesDown, g.basesDestroyed,
                Game.Lives, Game.HeroHealth.health, Game.Fuel);
    return g;
}

} // namespace

TEST(PlayThrough, TheDemoPlayerWinsWithLivesLeft)
{
    REQUIRE_DATA();
    InDataDir data;
    const GameFigures g = playDemoGame();
    EXPECT_TRUE(Game.GameWon);
    EXPECT_GT(Game.Lives, 0);
    EXPECT_GT(Game.Fuel, LowFuel);
    EXPECT_GE(g.enemiesDown, 9);
    EXPECT_EQ(g.reachableBasesLeft, 0);
    RecordProperty("frames", g.frames);
    RecordProperty("enemies_down", g.enemiesDown);
    RecordProperty("bases_destroyed", g.basesDestroyed);
    RecordProperty("lives_left", Game.Lives);
    RecordProperty("fuel_left", static_cast<int>(Game.Fuel));
}
