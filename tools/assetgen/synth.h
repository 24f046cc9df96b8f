#pragma once

// The building blocks of the generated sounds: seeded noise, filters,
// oscillators with sweeping frequency, envelopes, and the finish every
// sound gets (its level set, both ends faded to silence). Samples are
// doubles in [-1, 1] at SampleRate until they are written as 16-bit PCM.

#include <cstdint>
#include <functional>
#include <vector>

namespace synth {

constexpr int SampleRate = 22050;

using Samples = std::vector<double>;

inline int samplesFor(double seconds) { return static_cast<int>(seconds * SampleRate + 0.5); }

// White noise in [-1, 1] from a seed.
Samples noise(int count, uint64_t seed);

// A sine whose frequency (Hz) may change with time (seconds): the phase is
// accumulated, so a sweep stays smooth.
Samples tone(int count, const std::function<double(double)>& frequency);

// One-pole low-pass with a cutoff (Hz) that may change with time; a
// high-pass is the input less its low-pass.
Samples lowPass(const Samples& in, const std::function<double(double)>& cutoff);
Samples highPass(const Samples& in, double cutoff);
// A resonant band-pass (state-variable filter) around a centre that may
// change with time; q above 1 narrows it.
Samples bandPass(const Samples& in, const std::function<double(double)>& centre, double q);

// Multiplies by an envelope of time (seconds).
void shape(Samples& s, const std::function<double(double)>& envelope);
// A rise over `attack` seconds, then an exponential fall with time
// constant `decay`, starting at `start` (0 before it).
double hit(double t, double start, double attack, double decay);

// Adds `in` times `gain` into `out` from sample `at`, growing `out` as
// needed.
void mix(Samples& out, const Samples& in, double gain = 1.0, int at = 0);

// Sets the peak to `peak` of full scale and fades the first and last
// `fade` seconds to silence with a raised cosine.
void finish(Samples& s, double peak, double fade = 0.005);

// 16-bit signed PCM, rounded and clipped.
std::vector<int16_t> toPcm(const Samples& s);

// A mono 16-bit PCM WAV file at SampleRate.
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& pcm);

} // namespace synth
