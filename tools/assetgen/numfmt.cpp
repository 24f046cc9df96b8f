#include "numfmt.h"

#include <charconv>
#include <cmath>

std::string fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0.0;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // A tiny negative value rounds to "-0.0000": print it as zero.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}
