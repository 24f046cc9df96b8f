// Whole games through the real frame loop with the generated level, on a
// 60 Hz clock: the demo player, which plays through the keys from what the
// screen shows, wins; a player who touches nothing is shot down.

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
    int hitsTaken = 0;
    float lowestHealth = 8.0f;
};

// One game from the menu (the demo player) or from Start Game (nobody at
// the keys), a frame at a time, until the won or lost caption shows.
GameFigures playWholeGame(bool demo)
{
    startGame(false, 80, 60); // the rules and the clock: no frame is drawn
    setAutopilot(demo);
    if (!demo)
        enterLoading();
    GameFigures g;
    float health = Game.HeroHealth.health;
    int frame = 0;
    for (; frame < 60 * 600; ++frame) {
        paceAt60(frame);
        runFrame(false);
        if (!Process.GameActive)
            continue;
        if (Game.HeroHealth.health != health) {
            ++g.hitsTaken;
            health = Game.HeroHealth.health;
            g.lowestHealth = std::min(g.lowestHealth, health);
        }
        if (Game.GameWon || Game.Fuel <= LowFuel || Game.Lives == 0)
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
    std::printf("%s: %s after %d frames (%.1f s): enemies down %d of 11, bases destroyed %d of 22; "
                "%d hits taken, %d lives and %.1f health left, fuel %.0f\n",
                demo ? "demo player" : "nobody at the keys", Game.GameWon ? "won" : "lost", g.frames,
                g.frames / 60.0, g.enemiesDown, g.basesDestroyed, g.hitsTaken, Game.Lives,
                Game.HeroHealth.health, Game.Fuel);
    return g;
}

} // namespace

TEST(PlayThrough, TheDemoPlayerWinsWithLivesLeft)
{
    REQUIRE_DATA();
    InDataDir data;
    const GameFigures g = playWholeGame(true);
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

TEST(PlayThrough, NobodyAtTheKeysIsShotDown)
{
    REQUIRE_DATA();
    InDataDir data;
    const GameFigures g = playWholeGame(false);
    EXPECT_FALSE(Game.GameWon);
    EXPECT_EQ(Game.Lives, 0);
    // Seven hits a life: six to wear the health away, the seventh takes
    // the life and fills it again.
    EXPECT_EQ(g.hitsTaken, 21);
    EXPECT_LT(g.lowestHealth, 0.0f);
    EXPECT_EQ(g.enemiesDown, 0);
    EXPECT_EQ(g.basesDestroyed, 0);
    EXPECT_GT(Game.Fuel, LowFuel); // shot down, not out of fuel
}
