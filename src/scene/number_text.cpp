#include "scene/number_text.h"

#include <fast_float/fast_float.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The "C" locale as an object of its own, so that the process locale is
// never consulted nor changed.
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// The C library itself, on a zero-terminated copy.
double cLibraryAtof(const char* begin, const char* end)
{
    const std::string text(begin, end);
    return strtod_l(text.c_str(), nullptr, cLocale());
}

} // namespace

double localeFreeAtof(const char* begin, const char* end)
{
    const char* p = begin;
    while (p < end && isCSpace(*p))
        ++p;
    const char* number = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // The fast parser takes a minus sign of its own, atof takes one sign
    // only.
    if (p < end && (*p == '+' || *p == '-'))
        return 0.0;
    // Hexadecimal numbers and values beyond the range of a double are rare
    // enough to leave to the C library itself.
    if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return cLibraryAtof(number, end);
    double value = 0.0;
    const auto result = fast_float::from_chars(p, end, value);
    if (result.ec != std::errc())
        return 0.0;
    if (!std::isfinite(value))
        return cLibraryAtof(number, end);
    return negative ? -value : value;
}

int localeFreeAtoi(const char* begin, const char* end)
{
    const char* p = begin;
    while (p < end && isCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // As glibc does it: strtol saturates at the range of a long, and the
    // int takes the low 32 bits.
    long long value = 0;
    bool overflow = false;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
        if (!overflow && value > (LLONG_MAX - digit) / 10)
            overflow = true;
        if (!overflow)
            value = value * 10 + digit;
    }
    if (overflow)
        return static_cast<int>(negative ? LLONG_MIN : LLONG_MAX);
    return static_cast<int>(negative ? -value : value);
}

double localeFreeAtof(const char* text) { return localeFreeAtof(text, text + std::strlen(text)); }

int localeFreeAtoi(const char* text) { return localeFreeAtoi(text, text + std::strlen(text)); }
