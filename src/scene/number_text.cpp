#include "scene/number_text.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The "C" locale as an object of its own, so that the process locale is
// never consulted nor changed.
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

} // namespace

double localeFreeAtof(const char* text)
{
    const char* p = text;
    while (isCSpace(*p))
        ++p;
    const char* number = p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // from_chars takes a minus sign of its own, atof takes one sign only.
    if (*p == '+' || *p == '-')
        return 0.0;
    // Hexadecimal numbers and values beyond the range of a double are rare
    // enough to leave to the C library itself.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return strtod_l(number, nullptr, cLocale());
    double value = 0.0;
    const char* end = p + std::strlen(p);
    auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return strtod_l(number, nullptr, cLocale());
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

int localeFreeAtoi(const char* text)
{
    const char* p = text;
    while (isCSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // As glibc does it: strtol saturates at the range of a long, and the
    // int takes the low 32 bits.
    long long value = 0;
    bool overflow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
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
