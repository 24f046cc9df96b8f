#pragma once

// Number conversion with the C library's atof and atoi rules (leading
// white space, an optional sign, as much of the text as forms a number, 0
// when nothing does) but always with the decimal point: a desktop set to a
// decimal-comma language must read "1.5" as 1.5, not 1.
double localeFreeAtof(const char* text);
int localeFreeAtoi(const char* text);

// The same for the text from `begin` up to `end`, which need not be
// followed by a zero byte.
double localeFreeAtof(const char* begin, const char* end);
int localeFreeAtoi(const char* begin, const char* end);
