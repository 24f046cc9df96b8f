#pragma once

// The game's sounds, synthesised: every one from seeded noise, filtered
// oscillators and envelopes, the same bytes on every run.

#include "input/sounds.h"
#include "synth.h"

// The finished sound, its level set and both ends silent. The rotor is a
// seamless loop of sixteen blade passes.
synth::Samples makeSound(Sound sound);

// What each sound is, for the generator's listing.
const char* soundDescription(Sound sound);
