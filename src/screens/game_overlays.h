#pragma once

// The won and lost captions, 150 units in front of the eye whatever the
// camera does.
void wonScreen();
void lostScreen();

// The "Paused" caption, in the same place, over everything the frozen
// game frame drew.
void pausedScreen();
