#pragma once

// A health bar at the current modelview: green lines for the health, then
// red lines for the capacity, both from x = 2 in steps of 0.01, half a unit
// high. No green line once the health is 0 or less.

struct HealthTriple;

void drawHealthBar(const HealthTriple& triple);
