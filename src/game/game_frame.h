#pragma once

// The game's screen-pass step: countdown, world, bases, enemies, shots, the
// hero and its rotor.
void gameFrame();
