#pragma once

// Replays of scripted games for comparing two ways of playing one game: the
// state after every frame as one line of text (the screens, the menu's
// spins, the camera, the clocks the game captured, the hero, fuel and
// lives, the countdown, every base, enemy and shot) and chosen frames'
// pictures. Two runs that leave the same lines played the same game.

#include "flight_test_support.h"
#include "game/game_state.h"
#include "world/process_state.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace replay {

inline void put(std::ostringstream& o, const Vec4& v) { o << ' ' << v.x << ',' << v.y << ',' << v.z; }
inline void put(std::ostringstream& o, const Vec3& v) { o << ' ' << v.x << ',' << v.y << ',' << v.z; }

inline std::string gameDigest()
{
    std::ostringstream o;
    o.precision(9);
    const ProcessState& p = Process;
    o << "screens " << p.MenuActive << p.LoadingActive << p.GameActive << p.InstructionsActive
      << p.CreditsActive << " spins";
    for (const MenuItem& item : p.MenuItems)
        o << ' ' << item.spin;
    const GameState& g = Game;
    o << " | path " << g.PathX << ' ' << g.PathY << ' ' << g.PathZ << ' ' << g.PathYaw << ' ' << g.PathSpeed
      << " fuel " << g.Fuel << " lives " << g.Lives << " won " << g.GameWon << " hero " << g.HeliOffsetX
      << ' ' << g.HeliOffsetY << ' ' << g.HeliPitch << ' ' << g.HeliTilt << ' ' << g.HeliRoll << ' '
      << g.HeroHealth.damage << ' ' << g.HeroHealth.health << " clocks " << g.controlStarted << g.controlStart
      << ' ' << g.fuelTimerStarted << g.fuelTimer << ' ' << g.countdownStarted << g.countdownStart
      << " countdown " << g.showReady << g.showThree << g.showTwo << g.showOne << " view " << g.View.ready
      << g.View.three << g.View.two << g.View.one << g.View.won << g.View.lost << " turns " << g.RotorAngle
      << ' ' << g.SkyAngle << " hud " << g.hudSlide << ' ' << g.hudLives << " fire " << g.fireCounter
      << " camera";
    for (float m : g.Camera.m)
        o << ' ' << m;
    o << " bases";
    for (const MilitaryBase& b : g.MilitaryBases)
        o << ' ' << b.damage << '/' << b.wreckPhase;
    o << " enemies";
    for (const EnemyHeli& e : g.EnemyHelis) {
        put(o, e.position);
        o << ' ' << e.damage << e.active << e.dead << e.engaged << e.firing;
        put(o, e.shot.position);
    }
    o << " rockets";
    for (const Projectile& r : g.Rockets)
        put(o, r.position);
    o << " bullets";
    for (const Projectile& b : g.Bullets)
        put(o, b.position);
    return o.str();
}

struct Replay {
    std::vector<std::string> states; // after each frame
    std::vector<bool> paused;
    std::map<int, std::vector<uint8_t>> pictures;
};

// Runs the frame loop from the game as the test set it up for `frames`
// frames, or until the game ends, with `script` at the start of each
// frame, drawing the frames in `drawn`. Ends as the game does: the level,
// the scenes and their textures go with the context.
inline Replay play(int frames, const std::vector<int>& drawn, const std::function<void(int)>& script)
{
    headless::onFrame(script);
    Replay run;
    for (int frame = 0; frame < frames; ++frame) {
        const bool draw = std::find(drawn.begin(), drawn.end(), frame) != drawn.end();
        if (!runFrame(draw))
            break;
        run.states.push_back(gameDigest());
        run.paused.push_back(Game.Paused);
        if (draw) {
            int w = 0, h = 0;
            run.pictures[frame] = headless::readPixels(&w, &h);
        }
    }
    headless::onFrame(nullptr);
    tearDownLevel();
    releaseGame();
    return run;
}

} // namespace replay
