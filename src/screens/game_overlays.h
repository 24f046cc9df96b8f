#pragma once

// The won and lost captions, 150 units in front of the eye whatever the
// camera does.
void wonScreen();
void lostScreen();
