// Whole games through the real frame loop with the generated level, on a
// 60 Hz clock, and the sounds they hand to the platform, recorded headless:
// the demo player, which plays through the keys from what the screen shows,
// wins; a player who touches nothing is shot down. Every event sounds in the
// frame its cause shows in the game's state, once per cause; the rotor runs
// while the hero flies and faster with the course.

#include "flight_test_support.h"
#include "game/shots_step.h"
#include "level_data.h"
#include "shell/autopilot.h"
#include "world/process_state.h"

#include <algorithm>
#include <functional>
#include <map>

using namespace flighttest;

namespace {

// What the test reads of the game after each frame: the game's state only
// while a game runs.
struct Snapshot {
    bool game = false;
    GameState g;
    bool courseMoved = false; // ever in this game
    float menuSpins[4] = {};
};

Snapshot snapshot(const Snapshot& before)
{
    Snapshot s;
    s.game = Process.GameActive;
    for (int i = 0; i < 4; ++i)
        s.menuSpins[i] = Process.MenuItems[i].spin;
    if (s.game)
        s.g = Game;
    s.courseMoved = before.game && (before.courseMoved || Game.PathZ != before.g.PathZ);
    return s;
}

// Shots new in the list, counting those that left it in the frame: already
// bursting, their age passed the end of their explosion.
int launched(const std::vector<Projectile>& before, const std::vector<Projectile>& after, float end)
{
    int n = int(after.size()) - int(before.size());
    for (const Projectile& p : before)
        n += p.age > 0.0f && p.age + 0.1f > end;
    return n;
}

// Counts the objects of two same-sized lists for which a test holds.
template <typename T, typename Test> int changed(const std::vector<T>& a, const std::vector<T>& b, Test test)
{
    if (a.size() != b.size())
        return 0;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += test(a[i], b[i]);
    return n;
}

int rises(bool a, bool b) { return !a && b; }

// How many causes of each sound the frame from `a` to `b` shows.
using Causes = std::function<int(const Snapshot& a, const Snapshot& b)>;
const std::map<Sound, Causes>& causes()
{
    static const std::map<Sound, Causes> table = {
        {Sound::RocketLaunch,
         [](const Snapshot& a, const Snapshot& b) {
             return launched(a.g.Rockets, b.g.Rockets, RocketExplosionEnd);
         }},
        {Sound::GunShot,
         [](const Snapshot& a, const Snapshot& b) {
             return launched(a.g.Bullets, b.g.Bullets, BulletExplosionEnd);
         }},
        {Sound::Explosion,
         [](const Snapshot&, const Snapshot& b) {
             // A rocket's first frame of bursting leaves its age at 0.1.
             int n = 0;
             for (const Projectile& r : b.g.Rockets)
                 n += r.age == 0.1f;
             return n;
         }},
        {Sound::BaseDestroyed,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.g.MilitaryBases, b.g.MilitaryBases,
                            [](const MilitaryBase& x, const MilitaryBase& y) {
                                return x.damage <= 5.0f && y.damage > 5.0f;
                            });
         }},
        {Sound::EnemyCrash,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.g.EnemyHelis, b.g.EnemyHelis, [](const EnemyHeli& x, const EnemyHeli& y) {
                 return x.damage < 5.0f && y.damage >= 5.0f;
             });
         }},
        {Sound::EnemyShot,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.g.EnemyHelis, b.g.EnemyHelis, [](const EnemyHeli& x, const EnemyHeli& y) {
                 return x.shot.fresh && (!y.shot.fresh || y.shot.start.x != x.shot.start.x ||
                                         y.shot.start.z != x.shot.start.z);
             });
         }},
        {Sound::HeroHit,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.g.EnemyHelis, b.g.EnemyHelis, [](const EnemyHeli& x, const EnemyHeli& y) {
                 return !x.shot.spent && y.shot.spent;
             });
         }},
        {Sound::LifeLost,
         [](const Snapshot& a, const Snapshot& b) { return b.game ? a.g.Lives - b.g.Lives : 0; }},
        {Sound::CountdownTick,
         [](const Snapshot& a, const Snapshot& b) {
             // In the frame a caption takes over, the one before shows once
             // more: only the newest caption ticks.
             const GameView &x = a.g.View, &y = b.g.View;
             return rises(x.one, y.one) + rises(x.two && !y.one, y.two && !y.one) +
                    rises(x.three && !y.two, y.three && !y.two) +
                    rises(x.ready && !y.three, y.ready && !y.three);
         }},
        {Sound::CountdownGo,
         [](const Snapshot& a, const Snapshot& b) { return rises(a.courseMoved, b.courseMoved); }},
        {Sound::Won, [](const Snapshot& a, const Snapshot& b) { return rises(a.g.View.won, b.g.View.won); }},
        {Sound::Lost,
         [](const Snapshot& a, const Snapshot& b) { return rises(a.g.View.lost, b.g.View.lost); }},
        {Sound::MenuSpin,
         [](const Snapshot& a, const Snapshot& b) {
             int n = 0;
             for (int i = 0; i < 4; ++i)
                 n += a.menuSpins[i] == 0.0f && b.menuSpins[i] > 0.0f;
             return n;
         }},
    };
    return table;
}

// Runs frames one at a time and checks that each hands its sounds over once,
// every event as often as the frame shows causes for it, and the rotor only
// while the hero flies.
struct Listener {
    Snapshot before = snapshot(Snapshot{});
    int frames = 0;
    std::map<Sound, int> events;
    std::map<float, float> rotorRates; // while the course runs, by its speed
    bool rotorOutsideFlight = false;
    int quieter = 0; // placed sounds below full volume

    Snapshot frame(int key = 0)
    {
        const int handedBefore = headless::soundHandOvers();
        if (key)
            headless::setKey(key, true);
        runFrame(false);
        if (key)
            headless::setKey(key, false);
        const Snapshot after = snapshot(before);
        EXPECT_EQ(headless::soundHandOvers(), handedBefore + 1);
        const FrameSounds& sounds = headless::handedSounds().back().sounds;
        std::map<Sound, int> heard;
        for (const SoundEvent& e : sounds.events) {
            ++heard[e.sound];
            quieter += e.volume < 1.0f;
        }
        for (const auto& [sound, cause] : causes()) {
            EXPECT_EQ(heard[sound], cause(before, after)) << "sound " << int(sound) << " in frame " << frames;
            events[sound] += heard[sound];
        }
        EXPECT_EQ(heard.count(Sound::Rotor), 0u);
        if (after.game && !after.g.View.won && !after.g.View.lost) {
            EXPECT_TRUE(sounds.rotor) << "frame " << frames;
            if (after.courseMoved)
                rotorRates[Game.PathSpeed] = sounds.rotorRate;
            else
                EXPECT_LT(sounds.rotorRate, 1.0f) << "waiting at the start";
        } else {
            rotorOutsideFlight |= sounds.rotor;
        }
        ++frames;
        before = after;
        return after;
    }
};

// One game from the menu (the demo player) or from Start Game (nobody at
// the keys), frame by frame until its caption has shown for a second.
Listener play(bool demo)
{
    startGame(false, 80, 60);
    setAutopilot(demo);
    if (!demo)
        enterLoading();
    Listener l;
    for (int frame = 0, endFrames = 0; frame < 60 * 600 && endFrames < 60; ++frame) {
        paceAt60(frame);
        const Snapshot after = l.frame();
        endFrames += after.g.View.won || after.g.View.lost;
    }
    setAutopilot(false);
    return l;
}

} // namespace

TEST(SoundEvents, EveryEventOfAGameSoundsInTheFrameOfItsCauseOnceForIt)
{
    REQUIRE_DATA();
    InDataDir data;
    struct Case {
        bool demo;
        std::map<Sound, int> counts;
        std::vector<Sound> some;
    };
    // The demo player starts from the menu, fires both guns, downs enemies,
    // destroys bases and wins; nobody at the keys is shot down.
    const Case cases[] = {
        {true,
         {{Sound::CountdownTick, 4}, {Sound::CountdownGo, 1}, {Sound::Won, 1}, {Sound::Lost, 0}},
         {Sound::MenuSpin, Sound::RocketLaunch, Sound::GunShot, Sound::Explosion, Sound::BaseDestroyed,
          Sound::EnemyShot, Sound::EnemyCrash}},
        {false,
         {{Sound::LifeLost, 3},
          {Sound::HeroHit, 21},
          {Sound::Lost, 1},
          {Sound::MenuSpin, 0},
          {Sound::RocketLaunch, 0},
          {Sound::Won, 0}},
         {Sound::EnemyShot}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.demo ? "demo player" : "nobody at the keys");
        const Listener l = play(c.demo);
        for (const auto& [s, n] : c.counts)
            EXPECT_EQ(l.events.at(s), n) << "sound " << int(s);
        for (Sound s : c.some)
            EXPECT_GT(l.events.at(s), 0) << "sound " << int(s) << " had no cause in the game";
        EXPECT_FALSE(l.rotorOutsideFlight);
        if (!c.demo)
            continue;
        // The demo player wins with lives and fuel left, having brought most
        // enemies down and destroyed every base the course brings in reach.
        EXPECT_TRUE(Game.GameWon && Game.Lives > 0 && Game.Fuel > LowFuel);
        EXPECT_GE(l.events.at(Sound::EnemyCrash), 9);
        for (int b = 0; b < int(Game.MilitaryBases.size()); ++b)
            EXPECT_TRUE(Game.MilitaryBases[b].damage > 5.0f ||
                        std::count(BasesOutOfReach.begin(), BasesOutOfReach.end(), b))
                << "base " << b + 1 << " in reach still stands";
        EXPECT_GT(l.quieter, 0) << "far bursts are quieter";
        // The rotor runs faster when the course runs at double speed.
        ASSERT_EQ(l.rotorRates.count(1.0f), 1u);
        ASSERT_EQ(l.rotorRates.count(2.0f), 1u);
        EXPECT_GT(l.rotorRates.at(2.0f), l.rotorRates.at(1.0f));
    }
}

TEST(SoundEvents, AMenuItemSoundsWhenItStartsToSpinAndNotAgainWhilePressedOrBlocked)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame(false, 80, 60);
    Listener l;
    // Credits, pressed again while it spins; Instructions while Credits
    // spins (it waits for the others to rest); then Credits fires and its
    // screen shows; Escape back to the menu and Instructions.
    for (int key : {int('C'), 0, int('C'), 0, int('I'), 0})
        l.frame(key);
    EXPECT_EQ(l.events[Sound::MenuSpin], 1);
    while (l.frames < 600 && !Process.CreditsActive)
        l.frame();
    ASSERT_TRUE(Process.CreditsActive);
    l.frame(VK_ESCAPE);
    l.frame('I');
    EXPECT_EQ(l.events[Sound::MenuSpin], 2);
    EXPECT_FALSE(l.rotorOutsideFlight) << "nothing of the game sounds in the menu";
}
