#include "sound_effects.h"

#include "random.h"

#include <cmath>

using namespace synth;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Blade passes: 18 a second, 1225 samples each.
constexpr int BladePass = 1225;
constexpr int BladePasses = 16;

// Each pass is a thump and a slap of low noise that rises in 3 ms and has
// died away before the next: the loop's ends fall between two passes, so
// it repeats without a seam.
Samples rotor()
{
    Samples out(BladePass * BladePasses, 0.0);
    const Samples slap = lowPass(noise(BladePass * BladePasses, 101), [](double) { return 700.0; });
    const Samples thump = tone(BladePass * BladePasses, [](double) { return 85.0; });
    Random loud(102);
    for (int pass = 0; pass < BladePasses; ++pass) {
        const double gain = loud.range(0.85, 1.0);
        const double start = (pass * BladePass + 40) / double(SampleRate);
        for (int i = 0; i < BladePass; ++i) {
            const int k = pass * BladePass + i;
            const double e = gain * hit(k / double(SampleRate), start, 0.003, 0.009);
            out[k] = e * (1.6 * slap[k] + 0.5 * thump[k]);
        }
    }
    finish(out, 0.5, 0.001);
    return out;
}

// A pop as the motor lights, then a hiss falling in pitch as it leaves.
Samples rocketLaunch()
{
    const int n = samplesFor(0.7);
    Samples hiss = bandPass(
        noise(n, 201), [](double t) { return 2600.0 * std::exp(-t * 2.5) + 500.0; }, 2.0);
    shape(hiss, [](double t) { return hit(t, 0.0, 0.02, 0.22); });
    Samples pop = lowPass(noise(n, 202), [](double) { return 300.0; });
    shape(pop, [](double t) { return hit(t, 0.0, 0.002, 0.04); });
    Samples out;
    mix(out, hiss, 1.0);
    mix(out, pop, 2.5);
    finish(out, 0.7);
    return out;
}

// A short crack over a low knock: quiet, three of them a second.
Samples gunShot()
{
    const int n = samplesFor(0.15);
    Samples crack = highPass(noise(n, 301), 1200.0);
    shape(crack, [](double t) { return hit(t, 0.0, 0.001, 0.012); });
    Samples knock = tone(n, [](double t) { return 160.0 - 300.0 * t; });
    shape(knock, [](double t) { return hit(t, 0.0, 0.001, 0.03); });
    Samples out;
    mix(out, crack, 1.0);
    mix(out, knock, 0.8);
    finish(out, 0.45);
    return out;
}

// A burst of noise whose brightness falls as it rolls away.
Samples burst(double seconds, uint64_t seed, double bright, double dark, double decay)
{
    const int n = samplesFor(seconds);
    Samples s =
        lowPass(noise(n, seed), [=](double t) { return dark + (bright - dark) * std::exp(-t * 4.0); });
    shape(s, [=](double t) { return hit(t, 0.0, 0.004, decay); });
    return s;
}

Samples explosion()
{
    Samples out = burst(1.2, 401, 2200.0, 180.0, 0.22);
    // Crackle: sparse clicks in the first half second.
    Samples crackle = highPass(noise(samplesFor(1.2), 402), 2000.0);
    Random sparse(403);
    shape(crackle, [&sparse](double t) { return t < 0.5 && sparse.unit() < 0.02 ? (0.5 - t) * 2.0 : 0.0; });
    mix(out, crackle, 0.6);
    finish(out, 0.85);
    return out;
}

// Larger than a rocket's burst: deeper, longer, a second blast after it
// and a rumble under both.
Samples baseDestroyed()
{
    Samples out = burst(2.2, 501, 1200.0, 90.0, 0.5);
    mix(out, burst(1.7, 502, 900.0, 70.0, 0.45), 0.8, samplesFor(0.35));
    Samples rumble = tone(samplesFor(2.2), [](double t) { return 48.0 - 8.0 * t; });
    shape(rumble, [](double t) { return hit(t, 0.0, 0.05, 0.7); });
    mix(out, rumble, 0.5);
    finish(out, 0.9, 0.01);
    return out;
}

// A falling zap, hard-edged.
Samples enemyShot()
{
    const int n = samplesFor(0.25);
    Samples zap = tone(n, [](double t) { return 1400.0 * std::exp(-t * 6.0) + 300.0; });
    for (double& v : zap)
        v = std::tanh(3.0 * v);
    shape(zap, [](double t) { return hit(t, 0.0, 0.003, 0.06); });
    finish(zap, 0.55);
    return zap;
}

// A metallic clang: partials that do not fit a harmonic series, the high
// ones dying first, over a click.
Samples heroHit()
{
    const int n = samplesFor(0.4);
    Samples out;
    const double partials[][3] = {
        {523.0, 1.0, 0.12}, {1231.0, 0.7, 0.08}, {1873.0, 0.5, 0.05}, {2741.0, 0.35, 0.03}};
    for (const auto& p : partials) {
        const double f = p[0], decay = p[2];
        Samples s = tone(n, [f](double) { return f; });
        shape(s, [decay](double t) { return hit(t, 0.0, 0.001, decay); });
        mix(out, s, p[1]);
    }
    Samples click = highPass(noise(n, 601), 3000.0);
    shape(click, [](double t) { return hit(t, 0.0, 0.0005, 0.004); });
    mix(out, click, 1.5);
    finish(out, 0.75);
    return out;
}

// The engine whines down as it falls, wobbling, and the wreck hits the
// ground.
Samples enemyCrash()
{
    const int fall = samplesFor(1.1);
    Samples whine = tone(
        fall, [](double t) { return (900.0 - 680.0 * t) * (1.0 + 0.04 * std::sin(2.0 * Pi * 7.0 * t)); });
    shape(whine, [](double t) { return std::min(1.0, t / 0.05) * (1.0 - 0.5 * t); });
    Samples out;
    mix(out, whine, 0.45);
    mix(out, burst(0.6, 701, 1500.0, 120.0, 0.12), 1.0, fall - samplesFor(0.02));
    finish(out, 0.8);
    return out;
}

// Notes of a soft square wave (odd harmonics), one after another.
Samples notes(const std::vector<double>& pitches, double each, double last, double decay)
{
    Samples out;
    for (size_t i = 0; i < pitches.size(); ++i) {
        const double length = i + 1 == pitches.size() ? last : each;
        const double f = pitches[i];
        Samples note(samplesFor(length), 0.0);
        for (int h = 1; h <= 5; h += 2)
            mix(note,
                tone(note.size(),
                     [f, h](double t) { return f * h * (1.0 + 0.004 * std::sin(2.0 * Pi * 5.0 * t)); }),
                1.0 / (h * h));
        shape(note, [decay, length](double t) {
            return hit(t, 0.0, 0.01, decay) * std::min(1.0, (length - t) / 0.02);
        });
        mix(out, note, 1.0, samplesFor(each * i));
    }
    return out;
}

Samples lifeLost()
{
    Samples out = notes({659.3, 523.3, 392.0}, 0.22, 0.5, 0.2);
    finish(out, 0.6);
    return out;
}

// A short plain tone; the course's start an octave higher and longer.
Samples beep(double frequency, double seconds)
{
    Samples s = tone(samplesFor(seconds), [frequency](double) { return frequency; });
    mix(s, tone(s.size(), [frequency](double) { return 2.0 * frequency; }), 0.25);
    shape(s, [seconds](double t) { return std::min(1.0, t / 0.005) * std::min(1.0, (seconds - t) / 0.04); });
    finish(s, 0.5);
    return s;
}

// Up a major chord, the top held.
Samples won()
{
    Samples out = notes({523.3, 659.3, 784.0, 1046.5}, 0.16, 0.8, 0.35);
    finish(out, 0.6);
    return out;
}

// Down a minor chord to a low held note.
Samples lost()
{
    Samples out = notes({392.0, 311.1, 261.6, 130.8}, 0.24, 0.9, 0.4);
    finish(out, 0.6);
    return out;
}

// Air swept past a spinning box: noise through a band that rises and
// falls.
Samples menuSpin()
{
    const int n = samplesFor(0.45);
    Samples s = bandPass(
        noise(n, 1301), [](double t) { return 400.0 + 1800.0 * std::sin(Pi * t / 0.45); }, 3.0);
    shape(s, [](double t) { return std::sin(Pi * t / 0.45); });
    finish(s, 0.5);
    return s;
}

} // namespace

Samples makeSound(Sound sound)
{
    switch (sound) {
    case Sound::Rotor:
        return rotor();
    case Sound::RocketLaunch:
        return rocketLaunch();
    case Sound::GunShot:
        return gunShot();
    case Sound::Explosion:
        return explosion();
    case Sound::BaseDestroyed:
        return baseDestroyed();
    case Sound::EnemyShot:
        return enemyShot();
    case Sound::HeroHit:
        return heroHit();
    case Sound::EnemyCrash:
        return enemyCrash();
    case Sound::LifeLost:
        return lifeLost();
    case Sound::CountdownTick:
        return beep(880.0, 0.15);
    case Sound::CountdownGo:
        return beep(1760.0, 0.45);
    case Sound::Won:
        return won();
    case Sound::Lost:
        return lost();
    case Sound::MenuSpin:
        return menuSpin();
    }
    return {};
}

const char* soundDescription(Sound sound)
{
    switch (sound) {
    case Sound::Rotor:
        return "the rotor, a loop while in flight (played faster with the course)";
    case Sound::RocketLaunch:
        return "a rocket leaving";
    case Sound::GunShot:
        return "one bullet of the machine gun";
    case Sound::Explosion:
        return "a rocket bursting, on a hit or at the end of its range";
    case Sound::BaseDestroyed:
        return "a military base destroyed";
    case Sound::EnemyShot:
        return "an enemy firing";
    case Sound::HeroHit:
        return "the hero hit by enemy fire";
    case Sound::EnemyCrash:
        return "an enemy going down";
    case Sound::LifeLost:
        return "a life lost";
    case Sound::CountdownTick:
        return "the countdown's Ready, 3, 2 and 1";
    case Sound::CountdownGo:
        return "the course starts";
    case Sound::Won:
        return "the won caption";
    case Sound::Lost:
        return "the lost caption";
    case Sound::MenuSpin:
        return "a menu item starting to spin";
    }
    return "";
}
