// The sounds a whole game hands to the platform, recorded headless: every
// event sounds in the frame its cause shows in the game's state, once per
// cause; the rotor runs while the hero flies and faster with the course.

#include "flight_test_support.h"
#include "game/shots_step.h"
#include "shell/autopilot.h"
#include "world/process_state.h"

#include <functional>
#include <map>

using namespace flighttest;

namespace {

// What the test reads of the game after each frame.
struct Snapshot {
    bool game = false;
    std::vector<Projectile> rockets, bullets;
    std::vector<float> baseDamage, enemyDamage;
    std::vector<Projectile> enemyShots;
    bool ready = false, three = false, two = false, one = false, won = false, lost = false;
    float pathZ = 0.0f;
    bool courseMoved = false; // ever in this game
    int lives = 3;
    float menuSpins[4] = {};
};

Snapshot snapshot(const Snapshot& before)
{
    Snapshot s;
    s.game = Process.GameActive;
    for (int i = 0; i < 4; ++i)
        s.menuSpins[i] = Process.MenuItems[i].spin;
    if (!s.game)
        return s;
    s.rockets = Game.Rockets;
    s.bullets = Game.Bullets;
    for (const MilitaryBase& b : Game.MilitaryBases)
        s.baseDamage.push_back(b.damage);
    for (const EnemyHeli& e : Game.EnemyHelis) {
        s.enemyDamage.push_back(e.damage);
        s.enemyShots.push_back(e.shot);
    }
    const GameView& v = Game.View;
    s.ready = v.ready, s.three = v.three, s.two = v.two, s.one = v.one, s.won = v.won, s.lost = v.lost;
    s.pathZ = Game.PathZ;
    s.courseMoved = before.game && (before.courseMoved || Game.PathZ != before.pathZ);
    s.lives = Game.Lives;
    return s;
}

// Shots that left their list in the frame: those already bursting whose
// age passed the end of their explosion.
int finished(const std::vector<Projectile>& shots, float end)
{
    int n = 0;
    for (const Projectile& p : shots)
        n += p.age > 0.0f && p.age + 0.1f > end;
    return n;
}

int launched(const std::vector<Projectile>& before, const std::vector<Projectile>& after, float end)
{
    return int(after.size()) - int(before.size()) + finished(before, end);
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
             return launched(a.rockets, b.rockets, RocketExplosionEnd);
         }},
        {Sound::GunShot,
         [](const Snapshot& a, const Snapshot& b) {
             return launched(a.bullets, b.bullets, BulletExplosionEnd);
         }},
        {Sound::Explosion,
         [](const Snapshot&, const Snapshot& b) {
             // A rocket's first frame of bursting leaves its age at 0.1.
             int n = 0;
             for (const Projectile& r : b.rockets)
                 n += r.age == 0.1f;
             return n;
         }},
        {Sound::BaseDestroyed,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.baseDamage, b.baseDamage,
                            [](float x, float y) { return x <= 5.0f && y > 5.0f; });
         }},
        {Sound::EnemyCrash,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.enemyDamage, b.enemyDamage,
                            [](float x, float y) { return x < 5.0f && y >= 5.0f; });
         }},
        {Sound::EnemyShot,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.enemyShots, b.enemyShots, [](const Projectile& x, const Projectile& y) {
                 return x.fresh && (!y.fresh || y.start.x != x.start.x || y.start.z != x.start.z);
             });
         }},
        {Sound::HeroHit,
         [](const Snapshot& a, const Snapshot& b) {
             return changed(a.enemyShots, b.enemyShots,
                            [](const Projectile& x, const Projectile& y) { return !x.spent && y.spent; });
         }},
        {Sound::LifeLost,
         [](const Snapshot& a, const Snapshot& b) { return b.game ? a.lives - b.lives : 0; }},
        {Sound::CountdownTick,
         [](const Snapshot& a, const Snapshot& b) {
             // In the frame a caption takes over, the one before shows once
             // more: only the newest caption ticks.
             return rises(a.one, b.one) + rises(a.two && !b.one, b.two && !b.one) +
                    rises(a.three && !b.two, b.three && !b.two) +
                    rises(a.ready && !b.three, b.ready && !b.three);
         }},
        {Sound::CountdownGo,
         [](const Snapshot& a, const Snapshot& b) { return rises(a.courseMoved, b.courseMoved); }},
        {Sound::Won, [](const Snapshot& a, const Snapshot& b) { return rises(a.won, b.won); }},
        {Sound::Lost, [](const Snapshot& a, const Snapshot& b) { return rises(a.lost, b.lost); }},
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

struct Played {
    std::map<Sound, int> causes, events;
    std::map<float, float> rotorRates; // while the course runs, by its speed
    int framesWithRotor = 0;
    bool rotorAfterEnd = false;
    bool placedOutOfRange = false;
    int quieter = 0; // placed sounds below full volume
};

// One game from the menu (the demo player) or from Start Game (nobody at
// the keys), frame by frame until its caption has shown for a second.
Played playAndListen(bool demo)
{
    startGame(false, 80, 60);
    setAutopilot(demo);
    if (!demo)
        enterLoading();
    Played p;
    Snapshot before = snapshot(Snapshot{});
    int endFrames = 0;
    for (int frame = 0; frame < 60 * 600 && endFrames < 60; ++frame) {
        paceAt60(frame);
        const int handedBefore = headless::soundHandOvers();
        runFrame(false);
        const Snapshot after = snapshot(before);
        // One hand-over a frame.
        EXPECT_EQ(headless::soundHandOvers(), handedBefore + 1);
        const FrameSounds& sounds = headless::handedSounds().back().sounds;

        std::map<Sound, int> heard;
        for (const SoundEvent& e : sounds.events) {
            ++heard[e.sound];
            p.placedOutOfRange |= !(e.volume > 0.0f && e.volume <= 1.0f && e.pan >= -1.0f && e.pan <= 1.0f);
            p.quieter += e.volume < 1.0f;
        }
        for (const auto& [sound, cause] : causes()) {
            const int due = cause(before, after);
            EXPECT_EQ(heard[sound], due) << "sound " << int(sound) << " in frame " << frame;
            p.causes[sound] += due;
            p.events[sound] += heard[sound];
        }
        EXPECT_EQ(heard.count(Sound::Rotor), 0u);

        if (after.game && !after.won && !after.lost) {
            EXPECT_TRUE(sounds.rotor) << "frame " << frame;
            ++p.framesWithRotor;
            if (after.courseMoved)
                p.rotorRates[Game.PathSpeed] = sounds.rotorRate;
            else
                EXPECT_LT(sounds.rotorRate, 1.0f) << "waiting at the start";
        } else {
            p.rotorAfterEnd |= sounds.rotor;
        }
        endFrames += after.won || after.lost;
        before = after;
    }
    setAutopilot(false);
    return p;
}

} // namespace

TEST(SoundEvents, EveryEventOfAWonGameSoundsInTheFrameOfItsCauseOnceForIt)
{
    REQUIRE_DATA();
    InDataDir data;
    const Played p = playAndListen(true);
    // The demo player starts from the menu, fires both guns, downs enemies,
    // destroys bases and wins.
    for (Sound s :
         {Sound::MenuSpin, Sound::CountdownTick, Sound::CountdownGo, Sound::RocketLaunch, Sound::GunShot,
          Sound::Explosion, Sound::BaseDestroyed, Sound::EnemyShot, Sound::EnemyCrash, Sound::Won}) {
        EXPECT_GT(p.causes.at(s), 0) << "sound " << int(s) << " had no cause in the game";
        EXPECT_EQ(p.events.at(s), p.causes.at(s)) << "sound " << int(s);
    }
    EXPECT_EQ(p.causes.at(Sound::CountdownTick), 4);
    EXPECT_EQ(p.causes.at(Sound::CountdownGo), 1);
    EXPECT_EQ(p.causes.at(Sound::Won), 1);
    EXPECT_EQ(p.events.at(Sound::Lost), 0);
    EXPECT_FALSE(p.placedOutOfRange);
    EXPECT_GT(p.quieter, 0) << "far bursts are quieter";
    // The rotor: on while flying, off behind the caption, and faster when
    // the course runs at double speed.
    EXPECT_GT(p.framesWithRotor, 0);
    EXPECT_FALSE(p.rotorAfterEnd);
    ASSERT_EQ(p.rotorRates.count(1.0f), 1u);
    ASSERT_EQ(p.rotorRates.count(2.0f), 1u);
    EXPECT_GT(p.rotorRates.at(2.0f), p.rotorRates.at(1.0f));
}

TEST(SoundEvents, EveryEventOfAGameShotDownSoundsInTheFrameOfItsCauseOnceForIt)
{
    REQUIRE_DATA();
    InDataDir data;
    const Played p = playAndListen(false);
    for (Sound s : {Sound::EnemyShot, Sound::HeroHit, Sound::LifeLost, Sound::Lost}) {
        EXPECT_GT(p.causes.at(s), 0) << "sound " << int(s) << " had no cause in the game";
        EXPECT_EQ(p.events.at(s), p.causes.at(s)) << "sound " << int(s);
    }
    EXPECT_EQ(p.causes.at(Sound::LifeLost), 3);
    EXPECT_EQ(p.causes.at(Sound::HeroHit), 21);
    EXPECT_EQ(p.events.at(Sound::Lost), 1);
    EXPECT_EQ(p.events.at(Sound::MenuSpin) + p.events.at(Sound::RocketLaunch) + p.events.at(Sound::Won), 0);
    EXPECT_FALSE(p.rotorAfterEnd);
}

TEST(SoundEvents, AMenuItemSoundsWhenItStartsToSpinAndNotAgainWhilePressedOrBlocked)
{
    REQUIRE_DATA();
    InDataDir data;
    startGame(false, 80, 60);
    // Credits, pressed again while it spins; Instructions while Credits
    // spins (it waits for the others to rest); then Credits fires and its
    // screen shows; Escape back to the menu and Instructions.
    const int keys[] = {'C', 0, 'C', 0, 'I', 0};
    std::vector<int> spinFrames;
    auto run = [&spinFrames](int key) {
        if (key)
            headless::setKey(key, true);
        runFrame(false);
        if (key)
            headless::setKey(key, false);
        for (const SoundEvent& e : headless::handedSounds().back().sounds.events)
            if (e.sound == Sound::MenuSpin)
                spinFrames.push_back(headless::soundHandOvers() - 1);
    };
    for (int key : keys)
        run(key);
    EXPECT_EQ(spinFrames, std::vector<int>{0});
    for (int frame = 0; frame < 600 && !Process.CreditsActive; ++frame)
        run(0);
    ASSERT_TRUE(Process.CreditsActive);
    run(VK_ESCAPE);
    run('I');
    EXPECT_EQ(spinFrames.size(), 2u);
    EXPECT_EQ(spinFrames.back(), headless::soundHandOvers() - 1);
    // Nothing of the game sounds in the menu: no rotor.
    ASSERT_LT(headless::soundHandOvers(), int(headless::HandedSoundsKept));
    for (const headless::HandedSounds& h : headless::handedSounds())
        EXPECT_FALSE(h.sounds.rotor);
}
