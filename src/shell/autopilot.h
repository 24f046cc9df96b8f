#pragma once

// The demo player. With --demo the game plays itself through the keys, as
// a player would: on the menu it starts a game; in the game it aims and
// fires at what it sees and dodges the enemies' bullets; a while after the
// won or lost caption it returns to the menu for another game. Its keys are
// added to the player's, so Escape and the menu keys still work.
//
// It sees what the screen shows: where the enemies, their bullets and the
// bases are in the view, their health bars, and its own health, fuel and
// lives. Beyond that it knows what a practised player knows of the weapons:
// where a rocket comes down, and that a bullet hits a helicopter when one of
// its two flanks, two units either side of its line, passes through the
// helicopter's body.

// With `narrate` it tells on standard output, a line each, what it sees
// happen: hits on the bases, the enemies and itself, and how a game ends.
void setAutopilot(bool on, bool narrate = false);
bool autopilotOn();

// Adds the autopilot's keys for the coming frame to a keyboard snapshot
// (bit 7 of a byte = down), judged from what the last frame showed. Called
// once a frame, after the platform's snapshot is taken.
void addAutopilotKeys(unsigned char keys[256]);

// How long the autopilot waits on the won or lost caption before it
// returns to the menu, in frames.
constexpr int AutopilotCaptionFrames = 300;
