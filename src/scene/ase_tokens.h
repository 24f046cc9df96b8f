#pragma once

// The token stream of one ASE text. Tokens are cut the way strtok cuts
// them, with two delimiter sets: the general one (double quote, space,
// comma, tab, line feed, parentheses, asterisk) and the one for a bitmap
// path, which keeps spaces. So keywords arrive without their asterisk,
// quoted names lose their quotes and are cut at a space, and the colon of
// "A:" stays part of its token. As with strtok, the one delimiter right
// after a token is used up with it, whichever set the next cut takes.
//
// The text is only read: a token is a view into it. The first zero byte
// ends the text, and a carriage return before a line feed counts as part
// of the line end (CR LF reads as LF); any other carriage return is an
// ordinary character, as the exporters' Windows text mode gave it.
//
// The stream also keeps the nesting depth of the braces it has handed out,
// which lets the reader stop a list at the brace that closes its block
// instead of running on into the next object.

#include "scene/ase_text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class AseTokens {
  public:
    // The text must outlive the stream.
    explicit AseTokens(const AseText& text) : context_(text.data()) {}

    // Moves to the next token with the general set; false once the text
    // has ended.
    bool next()
    {
        cut(false);
        if (length_ == 1) {
            if (*current_ == '{')
                ++depth_;
            else if (*current_ == '}')
                --depth_;
        }
        return current_ != nullptr;
    }

    // Moves to the next token with the bitmap set (the path after BITMAP).
    bool nextBitmapPath()
    {
        cut(true);
        return current_ != nullptr;
    }

    // The token last handed out; empty at the end of the text.
    std::string_view current() const { return {current_ ? current_ : "", length_}; }
    const char* begin() const { return current_; }
    const char* end() const { return current_ + length_; }
    bool ended() const { return current_ == nullptr; }

    // A whole-token, case-sensitive comparison with the current token.
    template <size_t N> bool is(const char (&keyword)[N]) const
    {
        return length_ == N - 1 && current_ && std::memcmp(current_, keyword, N - 1) == 0;
    }

    // Where the next cut starts: at the end of the text, its zero byte.
    const char* position() const { return context_; }

    // Braces handed out so far: each "{" counts one up, each "}" one down.
    int depth() const { return depth_; }

  private:
    void cut(bool bitmap)
    {
        const char* p = context_;
        for (;;) {
            const uint32_t words = ~delimiters(p, bitmap) & 0xffffu;
            if (words) {
                p += __builtin_ctz(words);
                break;
            }
            p += 16;
        }
        if (*p == '\0') {
            context_ = p;
            current_ = nullptr;
            length_ = 0;
            return;
        }
        const char* token = p;
        for (;;) {
            const uint32_t stops = delimiters(p, bitmap) | zeros(p);
            if (stops) {
                p += __builtin_ctz(stops);
                break;
            }
            p += 16;
        }
        current_ = token;
        length_ = static_cast<size_t>(p - token);
        // The delimiter after the token goes with it; CR LF is one.
        if (*p)
            p += *p == '\r' ? 2 : 1;
        context_ = p;
    }

    // Bit i is set where p[i] is a delimiter of the set (a carriage return
    // only before a line feed). Reads p[0] to p[16].
    static uint32_t delimiters(const char* p, bool bitmap)
    {
#if defined(__SSE2__)
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i following = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        auto eq = [](__m128i bytes, char value) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(value)); };
        __m128i d =
            _mm_or_si128(_mm_or_si128(eq(c, '"'), eq(c, ',')), _mm_or_si128(eq(c, '\t'), eq(c, '\n')));
        d = _mm_or_si128(d, _mm_or_si128(_mm_or_si128(eq(c, ')'), eq(c, '(')), eq(c, '*')));
        d = _mm_or_si128(d, _mm_and_si128(eq(c, '\r'), eq(following, '\n')));
        if (!bitmap)
            d = _mm_or_si128(d, eq(c, ' '));
        return static_cast<uint32_t>(_mm_movemask_epi8(d));
#else
        uint32_t mask = 0;
        for (int i = 0; i < 16; ++i) {
            const char b = p[i];
            const bool d = b == '"' || b == ',' || b == '\t' || b == '\n' || b == ')' || b == '(' ||
                           b == '*' || (b == ' ' && !bitmap) || (b == '\r' && p[i + 1] == '\n');
            mask |= static_cast<uint32_t>(d) << i;
        }
        return mask;
#endif
    }

    // Bit i is set where p[i] is the zero byte that ends the text.
    static uint32_t zeros(const char* p)
    {
#if defined(__SSE2__)
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(c, _mm_setzero_si128())));
#else
        uint32_t mask = 0;
        for (int i = 0; i < 16; ++i)
            mask |= static_cast<uint32_t>(p[i] == '\0') << i;
        return mask;
#endif
    }

    const char* context_;
    const char* current_ = nullptr;
    size_t length_ = 0;
    int depth_ = 0;
};
