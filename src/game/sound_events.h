#pragma once

// The sounds of the frame, decided where their causes happen: each call
// appends one event to Process.Sounds, which the frame loop hands to the
// platform after the advance step.

#include "input/sounds.h"
#include "math/vector.h"

// Things further than this are quieter, by the distance.
constexpr float SoundFullVolumeDistance = 80.0f;

// The hero's own sounds, the countdown and the captions: full and central.
void playSound(Sound sound);

// A sound at a point of eye space (the camera looks down -z): its volume
// falls with the distance beyond SoundFullVolumeDistance, and it is panned
// by where the point shows across the picture (the 60-degree, 4:3 view);
// beside or behind the camera, fully to its side.
SoundEvent placedSound(Sound sound, Vec4 eyePoint);
void playSoundAt(Sound sound, Vec4 eyePoint);
