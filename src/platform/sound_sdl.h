#pragma once

// Closes the mixer opened by platformOpenSound, before SDL itself quits.
void closeSound();
