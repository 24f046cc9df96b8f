#pragma once

// Fills a freshly loaded level and makes it a fresh game: the random seed,
// the game's fog, the 11 enemy helicopters and 22 military bases, the
// colliders, the course text and the hero's start pose.
void populateLevel();
