#pragma once

#include <string>

// Numbers as the data files carry them: fixed decimals, a point as the
// decimal separator whatever the locale, and no "-0.0000" (the same value
// must always print the same way, or two runs could differ).
std::string fixed(double value, int decimals = 4);
