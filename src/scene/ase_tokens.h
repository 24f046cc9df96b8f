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
//
// Most of a model is lists of numbers, so numbers and list keywords have
// reads of their own that convert or compare while they cut, in one pass
// over the bytes. They hand out exactly the tokens and values that a cut
// followed by a conversion or comparison would, and take that way
// themselves wherever a token is anything but plain.

#include "scene/ase_text.h"
#include "scene/number_text.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define KESTRAVA_WIDE_READS 1
#endif

namespace asetokens {

// What each byte is to the cutting: the bits of the sets it delimits, and
// the end of the text. A carriage return is marked apart: it delimits only
// before a line feed.
enum : uint8_t { General = 1, Bitmap = 2, End = 4, CarriageReturn = 8 };

struct ByteTable {
    uint8_t kind[256] = {};
    constexpr ByteTable()
    {
        for (unsigned char c : {'"', ',', '\t', '\n', ')', '(', '*'})
            kind[c] = General | Bitmap;
        kind[static_cast<unsigned char>(' ')] = General;
        kind[0] = End;
        kind[static_cast<unsigned char>('\r')] = CarriageReturn;
    }
};

inline constexpr ByteTable Bytes;

inline constexpr uint64_t WholePowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                100000, 1000000, 10000000, 100000000};

// Powers of ten a double holds exactly.
inline constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace asetokens

class AseTokens {
  public:
    // The ways plainItems may read a run 64 bytes at a time.
    enum : int { NotWide, WideNumbers, WideFaces };

    // The text must outlive the stream. Without quick reads every token is
    // cut one at a time and converted by the C library's rules: the tests
    // hold the quick reads to that.
    explicit AseTokens(const AseText& text, bool quick = true) : context_(text.data()), quick_(quick) {}

    // Moves to the next token with the general set; false once the text
    // has ended.
    bool next()
    {
        cut(asetokens::General);
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
        cut(asetokens::Bitmap);
        return current_ != nullptr;
    }

    // next(), then the token's value by atof's rules (0 at the end of the
    // text).
    [[gnu::always_inline]] double nextNumber()
    {
        const char* start = skipDelimiters(context_);
        const char* p = start;
        double value;
        if (quick_ && plainNumber(p, value)) [[likely]] {
            take(start, p);
            return value;
        }
        return nextLongNumber(start, *start == '-');
    }

    // next(), then the token's value by atoi's rules (0 at the end of the
    // text).
    [[gnu::always_inline]] int nextInteger()
    {
        const char* start = skipDelimiters(context_);
        const char* p = start;
        int value;
        if (quick_ && plainInteger(p, value)) [[likely]] {
            take(start, p);
            return value;
        }
        return nextLongInteger(start, *start == '-');
    }

    // The rest of a list item whose tokens are all plain: `Skipped` whole
    // numbers passed over, then `Count` values (numbers, or whole numbers
    // where T is int), exactly as that many next() and nextNumber() or
    // nextInteger() would give them. False, and nothing taken, where any
    // token is not plain: the caller takes them one by one.
    template <int Skipped, size_t Count, typename T>
    [[gnu::always_inline]] bool nextPlainItem(T (&values)[Count])
    {
        const char* last;
        const char* stop;
        if (!quick_ || !plainTokens<Skipped>(context_, last, stop, values))
            return false;
        take(last, stop);
        return true;
    }

    // List items read ahead of the tokens, for lists whose items are one
    // per line: with the current token the keyword of an item (one of the
    // two), the item's tokens are read by `parse` from just after it, and
    // the next item's keyword is found at the same time by a scan of the
    // bytes, so that reading one item does not wait for the end of the one
    // before. Each item goes to `store` with its index in the run and the
    // length of its keyword, and `store` says whether to go on; at
    // most `limit` items. Stops before an item that is not plain, and after
    // one where no keyword follows before a brace or the end of the text, or
    // (with `adjacent`) where anything but delimiters stands between an
    // item and the next keyword. The tokens are left as after the last item
    // read one by one; the number of items is returned.
    //
    // Where the processor has AVX2 and the items are `Skipped` whole
    // numbers and `Count` values (Wide is WideNumbers), or face lines
    // (WideFaces), a run is first read by wideItems or wideFaces, which
    // hand out the same items; the rest of the run, from the first item they
    // leave, is read here.
    template <size_t N, size_t M, typename Values, int Skipped = 0, int Wide = NotWide, typename Parse,
              typename Store>
    int plainItems(const char (&first)[N], const char (&second)[M], bool adjacent, int limit, Parse parse,
                   Store store)
    {
        if (!quick_ || limit <= 0 || !(is(first) || is(second)))
            return 0;
#if KESTRAVA_WIDE_READS
        if constexpr (Wide != NotWide) {
            if (wideReads) {
                int done;
                if constexpr (Wide == WideFaces)
                    done = wideFaces(first, second, limit, store);
                else
                    done = wideItems<Skipped>(first, second, adjacent, limit, store,
                                              static_cast<Values*>(nullptr));
                if (done > 0)
                    return done;
            }
        }
#endif
        const char* keyword = current_;
        size_t length = length_;
        const char* last = nullptr;
        const char* stop = nullptr;
        int done = 0;
        for (;;) {
            const char* from = keyword + length;
            if (!pastDelimiter(from))
                break;
            size_t nextLength = 0;
            const char* next =
                done + 1 < limit && !adjacent ? findEither(from, first, second, nextLength) : nullptr;
            Values values;
            const char* itemLast;
            const char* itemStop;
            if (!parse(from, itemLast, itemStop, values) || (next && itemStop >= next))
                break;
            // In a list of adjacent items the next keyword is the very next
            // token, or the run ends.
            if (adjacent && done + 1 < limit) {
                const char* after = itemStop;
                if (pastDelimiter(after)) {
                    after = skipDelimiters(after);
                    if (startsEither(after, first, second, nextLength))
                        next = after;
                }
            }
            last = itemLast;
            stop = itemStop;
            ++done;
            if (!store(done - 1, length, values) || !next)
                break;
            keyword = next;
            length = nextLength;
        }
        if (done > 0)
            take(last, stop);
        return done;
    }

#if KESTRAVA_WIDE_READS
    // Whether list items may be read 64 bytes at a time: the processor has
    // AVX2. The tests switch it off to hold both ways to the same items.
    static inline bool wideReads = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");

    // What each of 64 bytes is, a bit for each byte from the first.
    struct ByteMasks {
        uint64_t delimiter; // of the general set
        uint64_t digit;
        uint64_t point;
        uint64_t minus;
    };

    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static uint32_t moveMask(__m256i bytes)
    {
        return static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
    }

    // Each byte's kinds from its two halves: a bit is set where both
    // halves' tables have it. The general delimiters are \t \n (high half
    // 0) and space " ( ) * , (high half 2), one bit for each group, the two
    // top bits; then the digits, the point and the minus. Carriage returns
    // and zeros are none of these, so that a token with one in it is never
    // plain here. The low half is looked up without masking: a byte from
    // 0x80 up finds zero there (the shuffle gives zero for it), as its high
    // half does in the other table.
    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static void
    classify32(const char* p, uint32_t& delimiter, uint32_t& digit, uint32_t& point, uint32_t& minus)
    {
        enum : char { Minus = 8, Point = 16, Digit = 32, DelimLow = 64, DelimHigh = -128 };
        const __m256i lowTable = _mm256_setr_epi8(
            DelimHigh | Digit, Digit, DelimHigh | Digit, Digit, Digit, Digit, Digit, Digit, DelimHigh | Digit,
            DelimLow | DelimHigh | Digit, DelimLow | DelimHigh, 0, DelimHigh, Minus, Point, 0,
            DelimHigh | Digit, Digit, DelimHigh | Digit, Digit, Digit, Digit, Digit, Digit, DelimHigh | Digit,
            DelimLow | DelimHigh | Digit, DelimLow | DelimHigh, 0, DelimHigh, Minus, Point, 0);
        const __m256i highTable = _mm256_setr_epi8(
            DelimLow, 0, DelimHigh | Point | Minus, Digit, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, DelimLow, 0,
            DelimHigh | Point | Minus, Digit, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i nibble = _mm256_set1_epi8(0x0f);
        const __m256i kinds = _mm256_and_si256(
            _mm256_shuffle_epi8(lowTable, bytes),
            _mm256_shuffle_epi8(highTable, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble)));
        // Either top bit: a saturating add of 64 carries the lower one up.
        delimiter = moveMask(_mm256_adds_epu8(kinds, _mm256_set1_epi8(64)));
        // Each other kind moved up to the top bit of its byte; the bits
        // shifted in from the byte below land under it.
        digit = moveMask(_mm256_slli_epi16(kinds, 2));
        point = moveMask(_mm256_slli_epi16(kinds, 3));
        minus = moveMask(_mm256_slli_epi16(kinds, 4));
    }

    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static ByteMasks classify64(const char* p)
    {
        uint32_t d0, g0, p0, m0, d1, g1, p1, m1;
        classify32(p, d0, g0, p0, m0);
        classify32(p + 32, d1, g1, p1, m1);
        auto join = [](uint32_t low, uint32_t high) { return uint64_t(low) | uint64_t(high) << 32; };
        return {join(d0, d1), join(g0, g1), join(p0, p1), join(m0, m1)};
    }

    [[gnu::always_inline]] static uint64_t lowBits(unsigned n)
    {
        return n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1;
    }

    // The whole number from `from + s` to its stop at `from + e`, a token
    // that wideItems has found plain: a leading minus or none, then 1 to 7
    // digits.
    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static int
    wideInteger(const char* from, const ByteMasks& m, unsigned s, unsigned e)
    {
        const unsigned negative = (m.minus >> s) & 1;
        const unsigned q = s + negative;
        const int magnitude = static_cast<int>(digitValue(eightBytes(from + q), e - q));
        return negative ? -magnitude : magnitude;
    }

    // The number from `from + s` to its stop at `from + e`, a token that
    // wideItems has found plain: a leading minus or none, at most 7 digits,
    // a point or none, at most 7 digits, and at least one digit in all. The
    // same double as plainNumber's.
    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static double
    wideNumber(const char* from, const ByteMasks& m, unsigned s, unsigned e)
    {
        const uint64_t negative = (m.minus >> s) & 1;
        const unsigned q = s + static_cast<unsigned>(negative);
        // The token's point, or its stop where it has none.
        const unsigned point = std::min(static_cast<unsigned>(_tzcnt_u64(m.point >> q)) + q, e);
        const unsigned whole = point - q;
        const unsigned fraction = e - point - (point < e);
        const uint64_t bytes = eightBytes(from + q);
        uint64_t mantissa;
        if (whole + fraction <= 8) [[likely]] {
            // The point taken out: one run of whole and fraction digits.
            const uint64_t below = (uint64_t(1) << (8 * whole)) - 1;
            const uint64_t joined = (bytes & below) | (eightBytes(from + q + 1) & ~below);
            mantissa = digitValue(joined, whole + fraction);
        } else {
            mantissa = digitValue(bytes, whole) * asetokens::WholePowersOfTen[fraction] +
                       digitValue(eightBytes(from + point + 1), fraction);
        }
        const double value = static_cast<double>(mantissa) / asetokens::ExactPowersOfTen[fraction];
        return std::bit_cast<double>(std::bit_cast<uint64_t>(value) ^ (negative << 63));
    }

    // Three numbers of at most 8 digits each, given as their digits (the
    // first `length` bytes of each word), their digits after the point and
    // their sign bits: the same doubles as wideNumber's, worked out in the
    // four lanes of one register. Pairs of digits, then fours, then the
    // eight combine as plainNumber's word does.
    template <bool FourDecimals>
    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static void
    wideNumbers(const uint64_t (&digits)[3], const unsigned (&lengths)[3], const unsigned (&fractions)[3],
                const uint64_t (&signs)[3], double (&values)[3])
    {
        const __m256i words =
            _mm256_set_epi64x(0, static_cast<long long>(digits[2]), static_cast<long long>(digits[1]),
                              static_cast<long long>(digits[0]));
        // The digits moved to the top of each word; the bytes below become
        // leading zeros (a word of no digits, the unused lane, is all zero).
        const __m256i shifts =
            _mm256_set_epi64x(64, 8 * (8 - lengths[2]), 8 * (8 - lengths[1]), 8 * (8 - lengths[0]));
        const __m256i spread = _mm256_sllv_epi64(_mm256_sub_epi8(words, _mm256_set1_epi8('0')), shifts);
        const __m256i pairs = _mm256_maddubs_epi16(spread, _mm256_set1_epi16(0x010a));
        const __m256i fours = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00010064));
        const __m256i eights = _mm256_add_epi64(_mm256_mul_epu32(fours, _mm256_set1_epi64x(10000)),
                                                _mm256_srli_epi64(fours, 32));
        const __m256i packed = _mm256_permutevar8x32_epi32(eights, _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0));
        const __m256d mantissas = _mm256_cvtepi32_pd(_mm256_castsi256_si128(packed));
        // (With four digits after every point, one power for all.)
        const __m256d powers = FourDecimals ? _mm256_set1_pd(1e4)
                                            : _mm256_set_pd(1.0, asetokens::ExactPowersOfTen[fractions[2]],
                                                            asetokens::ExactPowersOfTen[fractions[1]],
                                                            asetokens::ExactPowersOfTen[fractions[0]]);
        const __m256d quotients = _mm256_div_pd(mantissas, powers);
        const __m256d signed_ = _mm256_xor_pd(
            quotients, _mm256_castsi256_pd(_mm256_set_epi64x(0, static_cast<long long>(signs[2]),
                                                             static_cast<long long>(signs[1]),
                                                             static_cast<long long>(signs[0]))));
        double lanes[4];
        _mm256_storeu_pd(lanes, signed_);
        values[0] = lanes[0];
        values[1] = lanes[1];
        values[2] = lanes[2];
    }

    // What each of 64 bytes of a face line is: the delimiters, digits and
    // minus as for numbers, the colon, and the capital letters.
    struct FaceMasks {
        uint64_t delimiter;
        uint64_t digit;
        uint64_t colon;
        uint64_t minus;
        uint64_t capital;
    };

    [[gnu::target("avx2,bmi,bmi2")]] [[gnu::always_inline]] static void classifyFace32(const char* p,
                                                                                       uint32_t (&masks)[5])
    {
        // Capitals are @ to O less @ (high half 4) and P to Z (high half 5),
        // a bit each; the rest as in classify32, the colon where the point
        // was.
        enum : char {
            Capital4 = 2,
            Capital5 = 4,
            Minus = 8,
            Colon = 16,
            Digit = 32,
            DelimLow = 64,
            DelimHigh = -128
        };
        constexpr char Caps = Capital4 | Capital5;
        const __m256i lowTable = _mm256_setr_epi8(
            DelimHigh | Digit | Capital5, Digit | Caps, DelimHigh | Digit | Caps, Digit | Caps, Digit | Caps,
            Digit | Caps, Digit | Caps, Digit | Caps, DelimHigh | Digit | Caps,
            DelimLow | DelimHigh | Digit | Caps, DelimLow | DelimHigh | Colon | Caps, Capital4,
            DelimHigh | Capital4, Minus | Capital4, Capital4, Capital4, DelimHigh | Digit | Capital5,
            Digit | Caps, DelimHigh | Digit | Caps, Digit | Caps, Digit | Caps, Digit | Caps, Digit | Caps,
            Digit | Caps, DelimHigh | Digit | Caps, DelimLow | DelimHigh | Digit | Caps,
            DelimLow | DelimHigh | Colon | Caps, Capital4, DelimHigh | Capital4, Minus | Capital4, Capital4,
            Capital4);
        const __m256i highTable = _mm256_setr_epi8(
            DelimLow, 0, DelimHigh | Minus, Digit | Colon, Capital4, Capital5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            DelimLow, 0, DelimHigh | Minus, Digit | Colon, Capital4, Capital5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i nibble = _mm256_set1_epi8(0x0f);
        const __m256i kinds = _mm256_and_si256(
            _mm256_shuffle_epi8(lowTable, bytes),
            _mm256_shuffle_epi8(highTable, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble)));
        masks[0] = moveMask(_mm256_adds_epu8(kinds, _mm256_set1_epi8(64)));
        masks[1] = moveMask(_mm256_slli_epi16(kinds, 2));
        masks[2] = moveMask(_mm256_slli_epi16(kinds, 3));
        masks[3] = moveMask(_mm256_slli_epi16(kinds, 4));
        masks[4] = moveMask(_mm256_slli_epi16(kinds, 5)) | moveMask(_mm256_slli_epi16(kinds, 6));
    }

    // plainItems for face lines: the label ("12:"), then A: a B: b C: c,
    // as faceTokens reads them, from masks of 64 bytes. The next keyword is
    // looked for after the item the eight-byte way (the edge flags and the
    // smoothing group stand between).
    template <size_t N, size_t M, typename Store>
    [[gnu::target("avx2,bmi,bmi2")]] int wideFaces(const char (&first)[N], const char (&second)[M], int limit,
                                                   Store& store)
    {
        const char* keyword = current_;
        size_t length = length_;
        const char* last = nullptr;
        const char* stop = nullptr;
        int done = 0;
        for (;;) {
            const char* from = keyword + length;
            if (!pastDelimiter(from))
                break;
            uint32_t low[5], high[5];
            classifyFace32(from, low);
            classifyFace32(from + 32, high);
            auto join = [&](int k) { return uint64_t(low[k]) | uint64_t(high[k]) << 32; };
            const FaceMasks m = {join(0), join(1), join(2), join(3), join(4)};
            const uint64_t tokenBytes = ~m.delimiter;
            const uint64_t tokenStarts = tokenBytes & ~(tokenBytes << 1);
            const uint64_t stops_ = m.delimiter & (tokenBytes << 1);
            // The seven tokens' stops, and the starts of the three numbers
            // (tokens 2, 4 and 6); all seven must stop within the 64 bytes.
            unsigned stop7[7];
            uint64_t rest = stops_;
#pragma GCC unroll 7
            for (int i = 0; i < 7; ++i) {
                stop7[i] = static_cast<unsigned>(_tzcnt_u64(rest));
                rest = _blsr_u64(rest);
            }
            if (stop7[6] >= 64)
                break;
            unsigned start3[3];
            rest = _blsr_u64(_blsr_u64(tokenStarts));
#pragma GCC unroll 3
            for (int i = 0; i < 3; ++i) {
                start3[i] = static_cast<unsigned>(_tzcnt_u64(rest));
                rest = _blsr_u64(_blsr_u64(rest));
            }
            // The item is plain when its tokens hold only digits, colons,
            // minus signs and capitals; the colons are exactly the last
            // bytes of the four labels, none of them a label's first byte;
            // a minus begins a number and is not all of it; a capital is a
            // label's first byte right before its colon; and no run of
            // digits is longer than 7. So each label is 1 to 7 digits or
            // one capital and its colon, and each number [-]digits, 1 to
            // 7 of them, as faceTokens reads them.
            const uint64_t item = (uint64_t(1) << stop7[6]) - 1;
            const uint64_t bytes = tokenBytes & item;
            auto bit = [](unsigned at) { return uint64_t(1) << at; };
            const uint64_t labelEnds =
                bit(stop7[0] - 1) | bit(stop7[1] - 1) | bit(stop7[3] - 1) | bit(stop7[5] - 1);
            const uint64_t numberStarts = bit(start3[0]) | bit(start3[1]) | bit(start3[2]);
            uint64_t run = m.digit & (m.digit >> 1);
            run &= run >> 2;
            run &= run >> 4;
            if ((bytes & ~(m.digit | m.colon | m.minus | m.capital)) | ((m.colon & item) ^ labelEnds) |
                (m.colon & tokenStarts) | (m.minus & item & (~numberStarts | (stops_ >> 1))) |
                (m.capital & item & ~(tokenStarts & (labelEnds >> 1))) | (run & item)) [[unlikely]]
                break;
            int corners[3];
#pragma GCC unroll 3
            for (int i = 0; i < 3; ++i) {
                const unsigned negative = (m.minus >> start3[i]) & 1;
                const unsigned q = start3[i] + negative;
                const int magnitude =
                    static_cast<int>(digitValue(eightBytes(from + q), stop7[2 * i + 2] - q));
                corners[i] = negative ? -magnitude : magnitude;
            }
            const unsigned s = start3[2];
            const unsigned e = stop7[6];
            const char* itemStop = from + e;
            size_t nextLength = 0;
            const char* next = done + 1 < limit ? findEither(itemStop, first, second, nextLength) : nullptr;
            last = from + s;
            stop = itemStop;
            ++done;
            if (!store(done - 1, length, corners) || !next)
                break;
            keyword = next;
            length = nextLength;
        }
        if (done > 0)
            take(last, stop);
        return done;
    }

    // plainItems for items of `Skipped` whole numbers and then the values,
    // read from 64-byte masks of what each byte is: where each token starts
    // and stops comes from the masks, not from the bytes one by one, and
    // the next item's keyword is the token the masks show after the item.
    // Stops before the first item whose tokens do not lie within the 64
    // bytes or are not plain as the masks see them; those are left to the
    // eight-byte reads, as are the next keywords the masks cannot show.
    template <int Skipped, typename Values, size_t N, size_t M, typename Store>
    [[gnu::target("avx2,bmi,bmi2")]] int wideItems(const char (&first)[N], const char (&second)[M],
                                                   bool adjacent, int limit, Store& store, Values*)
    {
        using T = std::remove_extent_t<Values>;
        constexpr int Count = static_cast<int>(std::extent_v<Values>);
        constexpr int Tokens = Skipped + Count;
        static_assert(Skipped <= 1, "the masks below know one skipped whole number at most");
        const char* keyword = current_;
        size_t length = length_;
        const char* last = nullptr;
        const char* stop = nullptr;
        int done = 0;
        for (;;) {
            const char* from = keyword + length;
            if (!pastDelimiter(from))
                break;
            // The first 32 bytes' masks, and the next 32 bytes' only where
            // the item goes past them: most lines are shorter. Until then
            // the bytes from 32 on count as neither delimiters nor anything
            // else, so no token seems to stop there.
            ByteMasks m;
            {
                uint32_t delimiter, digit, point, minus;
                classify32(from, delimiter, digit, point, minus);
                m = {delimiter, digit, point, minus};
            }
            uint64_t tokenBytes, tokenStarts, tokenStops, itemStops;
            auto findStops = [&] {
                tokenBytes = ~m.delimiter;
                tokenStarts = tokenBytes & ~(tokenBytes << 1);
                tokenStops = m.delimiter & (tokenBytes << 1);
                itemStops = tokenStops;
                for (int i = 1; i < Tokens; ++i)
                    itemStops &= itemStops - 1;
            };
            findStops();
            if (!itemStops) {
                uint32_t delimiter, digit, point, minus;
                classify32(from + 32, delimiter, digit, point, minus);
                m.delimiter |= uint64_t(delimiter) << 32;
                m.digit |= uint64_t(digit) << 32;
                m.point |= uint64_t(point) << 32;
                m.minus |= uint64_t(minus) << 32;
                findStops();
            }
            // The item's tokens lie within the 64 bytes, and hold only
            // digits, points and minus signs that begin a token.
            if (!itemStops)
                break;
            uint64_t starts = tokenStarts;
            uint64_t stops_ = tokenStops;
            const uint64_t item = _blsi_u64(itemStops) - 1;
            const uint64_t bytes = tokenBytes & item;
            const uint64_t points = m.point & item;
            Values values;
            unsigned s = 0, e = 0;
            // Where the three numbers start and stop (items of three numbers).
            [[maybe_unused]] unsigned starts3[3], stops3[3];
            bool fourDecimals = false;
            if constexpr (std::is_same_v<T, double> && Count == 3) {
                for (int i = 0; i < Skipped; ++i) {
                    starts = _blsr_u64(starts);
                    stops_ = _blsr_u64(stops_);
                }
#pragma GCC unroll 3
                for (int i = 0; i < 3; ++i) {
                    starts3[i] = static_cast<unsigned>(_tzcnt_u64(starts));
                    stops3[i] = static_cast<unsigned>(_tzcnt_u64(stops_));
                    starts = _blsr_u64(starts);
                    stops_ = _blsr_u64(stops_);
                }
                s = starts3[2];
                e = stops3[2];
                // The exporters' own form: four digits after the point in
                // each number. The item's points are then exactly the three
                // numbers' stops moved five bytes down. Where each of these
                // also lies within its own number, 0 to 4 digits after its
                // start (checked below, where a point before the start makes
                // `whole` wrap around), no other token has one.
                uint64_t numberStops = tokenStops;
                for (int i = 0; i < Skipped; ++i)
                    numberStops = _blsr_u64(numberStops);
                numberStops &= (_blsi_u64(itemStops) << 1) - 1;
                fourDecimals = points == numberStops >> 5;
            }
            // Every token holds only digits, points and minus signs that
            // begin it. In the exporters' form that is all it takes: each
            // number is [-]digits.dddd (the whole number before them is
            // passed over unread, so its form does not matter).
            if ((bytes & ~(m.digit | m.point | m.minus)) | (m.minus & ~tokenStarts & item)) [[unlikely]]
                break;
            if (!fourDecimals) {
                // Otherwise each token has a digit, no run of more than 7
                // digits and at most one point, and the whole numbers have
                // none.
                const uint64_t notDigits = bytes & ~m.digit;
                uint64_t run = m.digit & (m.digit >> 1);
                run &= run >> 2;
                run &= run >> 4;
                // Adding the starts to a run that begins at a start carries
                // to the first byte after the run.
                const uint64_t tokenNotPoints = bytes & ~m.point;
                const uint64_t firstPoints = (tokenNotPoints + tokenStarts) & points;
                const uint64_t wholeBytes = Skipped > 0 || std::is_same_v<T, int>
                                                ? std::is_same_v<T, int> ? item : _blsi_u64(tokenStops) - 1
                                                : 0;
                if (((notDigits + tokenStarts) & ~tokenBytes & (item | _blsi_u64(itemStops))) | (run & item) |
                    (points & ~firstPoints) | (points & wholeBytes)) [[unlikely]]
                    break;
            }
            if constexpr (std::is_same_v<T, double> && Count == 3) {
                // Three numbers, converted side by side.
                uint64_t digits[3];
                unsigned lengths[3];
                unsigned fractions[3];
                uint64_t signs[3];
                bool short_ = true;
#pragma GCC unroll 3
                for (int i = 0; i < 3; ++i) {
                    const uint64_t negative = (m.minus >> starts3[i]) & 1;
                    const unsigned q = starts3[i] + static_cast<unsigned>(negative);
                    const unsigned point =
                        fourDecimals
                            ? stops3[i] - 5
                            : std::min(static_cast<unsigned>(_tzcnt_u64(m.point >> q)) + q, stops3[i]);
                    const unsigned whole = point - q;
                    fractions[i] = fourDecimals ? 4 : stops3[i] - point - (point < stops3[i]);
                    lengths[i] = whole + fractions[i];
                    short_ &= (lengths[i] <= 8) & (whole <= 8);
                    // The point taken out: one run of whole and fraction
                    // digits.
                    const uint64_t below = (uint64_t(1) << ((8 * whole) & 63)) - 1;
                    digits[i] = (eightBytes(from + q) & below) | (eightBytes(from + q + 1) & ~below);
                    signs[i] = negative << 63;
                }
                if (!short_) [[unlikely]] {
                    // A number of more than 8 digits: one by one, where
                    // its parts were checked for at most 7 digits each;
                    // else the eight-byte reads take the item.
                    if (fourDecimals)
                        break;
                    starts = tokenStarts;
                    stops_ = tokenStops;
                    for (int i = 0; i < Tokens; ++i) {
                        s = static_cast<unsigned>(_tzcnt_u64(starts));
                        e = static_cast<unsigned>(_tzcnt_u64(stops_));
                        starts = _blsr_u64(starts);
                        stops_ = _blsr_u64(stops_);
                        if (i >= Skipped)
                            values[i - Skipped] = wideNumber(from, m, s, e);
                    }
                } else if (fourDecimals) [[likely]] {
                    wideNumbers<true>(digits, lengths, fractions, signs, values);
                } else {
                    wideNumbers<false>(digits, lengths, fractions, signs, values);
                }
            } else {
#pragma GCC unroll 8
                for (int i = 0; i < Tokens; ++i) {
                    s = static_cast<unsigned>(_tzcnt_u64(starts));
                    e = static_cast<unsigned>(_tzcnt_u64(stops_));
                    starts = _blsr_u64(starts);
                    stops_ = _blsr_u64(stops_);
                    if constexpr (std::is_same_v<T, int>) {
                        if (i >= Skipped)
                            values[i - Skipped] = wideInteger(from, m, s, e);
                    } else {
                        if (i >= Skipped)
                            values[i - Skipped] = wideNumber(from, m, s, e);
                    }
                }
            }
            const char* itemStop = from + e;
            // The next keyword: the token right after the item where the
            // masks show it, else found the eight-byte way.
            const char* next = nullptr;
            size_t nextLength = 0;
            if (done + 1 < limit) {
                const char* following = starts ? from + _tzcnt_u64(starts) : nullptr;
                if (following && startsEither(following, first, second, nextLength)) {
                    next = following;
                } else if (adjacent) {
                    const char* after = itemStop;
                    if (pastDelimiter(after)) {
                        after = skipDelimiters(after);
                        if (startsEither(after, first, second, nextLength))
                            next = after;
                    }
                } else {
                    next = findEither(itemStop, first, second, nextLength);
                }
            }
            last = from + s;
            stop = itemStop;
            ++done;
            if (!store(done - 1, length, values) || !next)
                break;
            keyword = next;
            length = nextLength;
        }
        if (done > 0)
            take(last, stop);
        return done;
    }
#endif

    // The parts of items for plainItems: `Skipped` whole numbers passed
    // over, then `Count` values, from the cut start p; the last token's
    // start and its stop.
    template <int Skipped, size_t Count, typename T>
    [[gnu::always_inline]] static bool plainTokens(const char* p, const char*& last, const char*& stop,
                                                   T (&values)[Count])
    {
#pragma GCC unroll 8
        for (int i = 0; i < Skipped + static_cast<int>(Count); ++i) {
            if (i > 0 && !pastDelimiter(p))
                return false;
            last = p = skipDelimiters(p);
            int ignored;
            bool plain;
            if (i < Skipped)
                plain = plainInteger(p, ignored);
            else if constexpr (std::is_same_v<T, int>)
                plain = plainInteger(p, values[i - Skipped]);
            else
                plain = plainNumber(p, values[i - Skipped]);
            if (!plain)
                return false;
        }
        stop = p;
        return true;
    }

    static bool faceTokens(const char* p, const char*& last, const char*& stop, int (&corners)[3])
    {
        int corner = 0;
#pragma GCC unroll 8
        for (int i = 0; i < 7; ++i) {
            if (i > 0 && !pastDelimiter(p))
                return false;
            last = p = skipDelimiters(p);
            const bool plain = i == 2 || i == 4 || i == 6 ? plainInteger(p, corners[corner++]) : label(p);
            if (!plain)
                return false;
        }
        stop = p;
        return true;
    }

    // next(), then is(keyword).
    template <size_t N> bool nextIs(const char (&keyword)[N])
    {
        const char* p = skipDelimiters(context_);
        if (quick_ && std::memcmp(p, keyword, N - 1) == 0 && stops(p + N - 1)) {
            take(p, p + N - 1);
            return true;
        }
        next();
        return is(keyword);
    }

    // next(), then which of the two keywords the token is: 1, 2 or 0.
    template <size_t N, size_t M> int nextIsOneOf(const char (&first)[N], const char (&second)[M])
    {
        const char* p = skipDelimiters(context_);
        if (quick_ && std::memcmp(p, first, N - 1) == 0 && stops(p + N - 1)) {
            take(p, p + N - 1);
            return 1;
        }
        if (quick_ && std::memcmp(p, second, M - 1) == 0 && stops(p + M - 1)) {
            take(p, p + M - 1);
            return 2;
        }
        next();
        return is(first) ? 1 : is(second) ? 2 : 0;
    }

    // As many next() as it takes to reach a token equal to the keyword,
    // while the depth stays at `floor` or above and the text goes on:
    // false, at the brace that closed the block or at the end, where none
    // comes first.
    template <size_t N> bool seek(const char (&keyword)[N], int floor)
    {
        if (ended() || depth() < floor)
            return false;
        // The bytes up to the first that could start the keyword, a brace
        // or the end of the text hold nothing that counts: jump over them,
        // and over every such byte that does not begin the keyword as a
        // whole token. A brace or the end leaves the rest to the tokens.
        if (!quick_) {
            while (!ended() && depth() >= floor)
                if (nextIs(keyword))
                    return true;
            return false;
        }
        const char* p = context_;
#if defined(__SSE2__)
        // Sixteen bytes at a time; the candidates of a block are tried from
        // its mask, so that trying one does not hold up finding the next.
        const __m128i first = _mm_set1_epi8(keyword[0]);
        const __m128i open = _mm_set1_epi8('{');
        const __m128i close = _mm_set1_epi8('}');
        const __m128i zero = _mm_setzero_si128();
        for (;; p += 16) {
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            unsigned candidates = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(c, first)));
            const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                _mm_cmpeq_epi8(c, zero), _mm_or_si128(_mm_cmpeq_epi8(c, open), _mm_cmpeq_epi8(c, close)))));
            if (ends)
                candidates &= (ends & (0u - ends)) - 1; // those before the first end
            for (; candidates; candidates &= candidates - 1) {
                const char* at = p + __builtin_ctz(candidates);
                if (startsKeyword(at, keyword)) {
                    take(at, at + N - 1);
                    return true;
                }
            }
            if (ends)
                break;
        }
#else
        for (;;) {
            p = findAny(p, keyword[0]);
            if (*p != keyword[0])
                break;
            if (startsKeyword(p, keyword)) {
                take(p, p + N - 1);
                return true;
            }
            ++p;
        }
#endif
        while (!ended() && depth() >= floor)
            if (nextIs(keyword))
                return true;
        return false;
    }

    // Whether the keyword is the whole token that starts at p: p begins a
    // token (at the next cut, or after a delimiter), and a delimiter or the
    // end follows the keyword.
    template <size_t N> bool startsKeyword(const char* p, const char (&keyword)[N]) const
    {
        return (p == context_ || delimits(p - 1, asetokens::General)) &&
               std::memcmp(p, keyword, N - 1) == 0 && stops(p + N - 1);
    }

    // The slow ways of the two reads above.
    double nextLongNumber(const char* start, bool negative)
    {
        const char* p = start + negative;
        // [-]digits[.digits][e[sign]digits] with at most 19 digits that
        // count, read as a whole number and a power of ten: where both are
        // exact in a double, one multiplication or division rounds as the
        // C library does.
        uint64_t mantissa = 0;
        int digits = 0;
        int scale = 0;
        const char* first = p;
        while (static_cast<unsigned>(*p - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            digits += mantissa != 0;
            ++p;
        }
        bool any = p != first;
        if (*p == '.') {
            ++p;
            const char* fraction = p;
            while (static_cast<unsigned>(*p - '0') < 10) {
                mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
                digits += mantissa != 0;
                ++p;
            }
            scale = static_cast<int>(fraction - p);
            any = any || p != fraction;
        }
        if ((*p == 'e' || *p == 'E') && any) {
            const char* e = p + 1;
            bool negativeExponent = *e == '-';
            e += *e == '-' || *e == '+';
            if (static_cast<unsigned>(*e - '0') < 10) {
                int exponent = 0;
                while (static_cast<unsigned>(*e - '0') < 10 && exponent < 1000) {
                    exponent = exponent * 10 + (*e - '0');
                    ++e;
                }
                scale += negativeExponent ? -exponent : exponent;
                p = e;
            }
        }
        if (any && digits <= 19 && mantissa <= (uint64_t(1) << 53) && scale >= -22 && scale <= 22 &&
            stops(p)) {
            double value = static_cast<double>(mantissa);
            value = scale < 0 ? value / asetokens::ExactPowersOfTen[-scale]
                              : value * asetokens::ExactPowersOfTen[scale];
            take(start, p);
            return negative ? -value : value;
        }
        // Anything else, the way of a cut and the C library's rules.
        return next() ? localeFreeAtof(begin(), end()) : 0.0;
    }

    int nextLongInteger(const char* start, bool negative)
    {
        const char* p = start + negative;
        const char* first = p;
        int64_t value = 0;
        while (static_cast<unsigned>(*p - '0') < 10 && p - first < 18) {
            value = value * 10 + (*p - '0');
            ++p;
        }
        if (p != first && stops(p)) {
            take(start, p);
            return static_cast<int>(negative ? -value : value);
        }
        return next() ? localeFreeAtoi(begin(), end()) : 0;
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
    // From the stop after a token to the next cut: false at the end of the
    // text.
    [[gnu::always_inline]] static bool pastDelimiter(const char*& p)
    {
        if (*p == '\r') [[unlikely]] {
            p += 2;
            return true;
        }
        if (*p == '\0') [[unlikely]]
            return false;
        ++p;
        return true;
    }

    // Whether one of the keywords is the whole token at `at`, which starts
    // a token; its length.
    template <size_t N, size_t M>
    static bool startsEither(const char* at, const char (&first)[N], const char (&second)[M], size_t& length)
    {
        if (std::memcmp(at, first, N - 1) == 0 && stops(at + N - 1)) {
            length = N - 1;
            return true;
        }
        if (std::memcmp(at, second, M - 1) == 0 && stops(at + M - 1)) {
            length = M - 1;
            return true;
        }
        return false;
    }

    // Where the two keywords share their sixth letter (the face lines'
    // MESH_FACE), the first byte from p that is their first letter with that
    // one five bytes on, a brace or the end of the text: the other keywords
    // of a face line (MESH_SMOOTHING, MESH_MTLID) are passed over sixteen
    // bytes at a time. Otherwise findAny's byte.
    template <size_t N, size_t M>
    static const char* findCandidate(const char* p, const char (&first)[N], const char (&second)[M])
    {
#if defined(__SSE2__)
        if constexpr (N > 6 && M > 6) {
            if (first[5] == second[5]) {
                const __m128i w = _mm_set1_epi8(first[0]);
                const __m128i sixth = _mm_set1_epi8(first[5]);
                const __m128i open = _mm_set1_epi8('{');
                const __m128i close = _mm_set1_epi8('}');
                const __m128i zero = _mm_setzero_si128();
                // The padding after the text covers the second load's five
                // bytes past the zero that ends it.
                for (;; p += 16) {
                    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                    const __m128i on = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 5));
                    const __m128i hits = _mm_or_si128(
                        _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(c, w), _mm_cmpeq_epi8(on, sixth)),
                                     _mm_cmpeq_epi8(c, zero)),
                        _mm_or_si128(_mm_cmpeq_epi8(c, open), _mm_cmpeq_epi8(c, close)));
                    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
                    if (mask)
                        return p + __builtin_ctz(mask);
                }
            }
        }
#endif
        return findAny(p, first[0]);
    }

    // A label of a face line, digits or one capital letter and a colon
    // ("12:", "A:"), from its start to its stop.
    static bool label(const char*& p)
    {
        const unsigned digits = digitRun(eightBytes(p));
        const char* colon = p + (digits ? digits : 1);
        if (digits < 8 && (digits || (*p >= 'A' && *p <= 'Z')) && *colon == ':' && stops(colon + 1)) {
            p = colon + 1;
            return true;
        }
        return false;
    }

    // The first place from p where one of the keywords is a whole token,
    // and its length; null where a brace or the end of the text comes
    // first. Both keywords begin with the same letter.
    template <size_t N, size_t M>
    static const char* findEither(const char* p, const char (&first)[N], const char (&second)[M],
                                  size_t& length)
    {
        for (;;) {
            const char* at = findCandidate(p, first, second);
            if (*at != first[0])
                return nullptr;
            if (delimits(at - 1, asetokens::General)) {
                if (std::memcmp(at, first, N - 1) == 0 && stops(at + N - 1)) {
                    length = N - 1;
                    return at;
                }
                if (std::memcmp(at, second, M - 1) == 0 && stops(at + M - 1)) {
                    length = M - 1;
                    return at;
                }
            }
            p = at + 1;
        }
    }

    // The usual number, [-]digits[.digits] with a delimiter after it, read
    // eight bytes at a time and moved past: a whole number of up to 14
    // digits and a power of ten, both exact in a double, so that one
    // division rounds as the C library does. False, and p where it was, for
    // any other token (more digits, an exponent, anything but a delimiter
    // after it).
    //
    // Where the token ends decides where the next one starts, so that part
    // is kept short: one load, the digit mask and a bit count, with the
    // sign chosen between two loads and the common cases left to the branch
    // predictor. The value is worked out beside it.
    [[gnu::always_inline]] static bool plainNumber(const char*& p, double& value)
    {
        const uint64_t unsigned_ = eightBytes(p);
        const uint64_t signed_ = eightBytes(p + 1);
        const bool negative = static_cast<uint8_t>(unsigned_) == '-';
        const uint64_t bytes = negative ? signed_ : unsigned_;
        const char* q = p + negative;
        const uint64_t nonDigits = nonDigitBytes(bytes);
        if (nonDigits == 0) [[unlikely]]
            return false;
        // The first byte that is not a digit, and where it is a point, the
        // next: whole and fraction digits within the eight bytes.
        const unsigned whole = static_cast<unsigned>(__builtin_ctzll(nonDigits)) / 8;
        const uint64_t after = nonDigits & (nonDigits - 1);
        uint64_t mantissa;
        unsigned fraction;
        unsigned end;
        if (static_cast<uint8_t>(bytes >> (8 * whole)) == '.' && after) [[likely]] {
            end = static_cast<unsigned>(__builtin_ctzll(after)) / 8;
            fraction = end - whole - 1;
            // The point taken out: one run of whole and fraction digits.
            const uint64_t below = (uint64_t(1) << (8 * whole)) - 1;
            const uint64_t joined = (bytes & below) | ((bytes >> 8) & ~below);
            mantissa = digitValue(joined, end - 1);
        } else if (static_cast<uint8_t>(bytes >> (8 * whole)) != '.') {
            end = whole;
            fraction = 0;
            mantissa = digitValue(bytes, whole);
        } else {
            // A point and a fraction beyond the eight bytes.
            const uint64_t fractionBytes = eightBytes(q + whole + 1);
            fraction = digitRun(fractionBytes);
            mantissa = digitValue(bytes, whole) * asetokens::WholePowersOfTen[fraction] +
                       digitValue(fractionBytes, fraction);
            end = whole + 1 + fraction;
        }
        q += end;
        if (fraction >= 8 || end == 0 || (end == 1 && whole == 0) || !stops(q)) [[unlikely]]
            return false;
        value = static_cast<double>(mantissa) / asetokens::ExactPowersOfTen[fraction];
        // The sign without a branch: signs come in no order a branch could
        // learn.
        value = std::bit_cast<double>(std::bit_cast<uint64_t>(value) ^ (uint64_t(negative) << 63));
        p = q;
        return true;
    }

    // [-]digits, fewer than eight, and a delimiter after them.
    [[gnu::always_inline]] static bool plainInteger(const char*& p, int& value)
    {
        const uint64_t unsigned_ = eightBytes(p);
        const uint64_t signed_ = eightBytes(p + 1);
        const bool negative = static_cast<uint8_t>(unsigned_) == '-';
        const uint64_t bytes = negative ? signed_ : unsigned_;
        const uint64_t nonDigits = nonDigitBytes(bytes);
        if (nonDigits == 0) [[unlikely]]
            return false;
        const unsigned length = static_cast<unsigned>(__builtin_ctzll(nonDigits)) / 8;
        const char* q = p + negative + length;
        if (length == 0 || !stops(q)) [[unlikely]]
            return false;
        const int magnitude = static_cast<int>(digitValue(bytes, length));
        value = negative ? -magnitude : magnitude;
        p = q;
        return true;
    }

    [[gnu::always_inline]] static uint64_t eightBytes(const char* p)
    {
        uint64_t bytes;
        std::memcpy(&bytes, p, 8);
        return bytes;
    }

    // The high bit of each of the eight bytes that is not a decimal digit.
    // Each byte is worked out on its own (no carry crosses into the next).
    [[gnu::always_inline]] static uint64_t nonDigitBytes(uint64_t bytes)
    {
        const uint64_t low = bytes & 0x7f7f7f7f7f7f7f7full;
        const uint64_t aboveNine = low + 0x4646464646464646ull; // high bit where > '9'
        const uint64_t fromZero = low + 0x5050505050505050ull;  // high bit where >= '0'
        return (aboveNine | ~fromZero | bytes) & 0x8080808080808080ull;
    }

    // How many of the eight bytes are decimal digits before the first that
    // is not; 8 when all are.
    [[gnu::always_inline]] static unsigned digitRun(uint64_t bytes)
    {
        const uint64_t nonDigits = nonDigitBytes(bytes);
        return nonDigits ? static_cast<unsigned>(__builtin_ctzll(nonDigits)) / 8 : 8;
    }

    // The value of the first `length` (0 to 8) of the bytes, all digits.
    [[gnu::always_inline]] static uint64_t digitValue(uint64_t bytes, unsigned length)
    {
        // The digits move to the top of the word; the bytes below become
        // leading zeros. Then pairs, fours and eights of digits combine.
        uint64_t v = length ? (bytes - 0x3030303030303030ull) << ((8 * (8 - length)) & 63) : 0;
        v = v * 10 + (v >> 8);
        v = (((v & 0x000000ff000000ffull) * (100 + (1000000ull << 32))) +
             (((v >> 16) & 0x000000ff000000ffull) * (1 + (10000ull << 32)))) >>
            32;
        return v;
    }

    // The first byte from p that is `wanted`, a brace or the end of the
    // text.
    static const char* findAny(const char* p, char wanted)
    {
#if defined(__SSE2__)
        const __m128i w = _mm_set1_epi8(wanted);
        const __m128i open = _mm_set1_epi8('{');
        const __m128i close = _mm_set1_epi8('}');
        const __m128i zero = _mm_setzero_si128();
        for (;; p += 16) {
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i hits =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(c, w), _mm_cmpeq_epi8(c, zero)),
                             _mm_or_si128(_mm_cmpeq_epi8(c, open), _mm_cmpeq_epi8(c, close)));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
            if (mask)
                return p + __builtin_ctz(mask);
        }
#else
        for (;; ++p) {
            const char c = *p;
            if (c == wanted || c == '{' || c == '}' || c == '\0')
                return p;
        }
#endif
    }

    [[gnu::always_inline]] static bool delimits(const char* p, uint8_t set)
    {
        const uint8_t kind = asetokens::Bytes.kind[static_cast<unsigned char>(*p)];
        return (kind & set) || ((kind & asetokens::CarriageReturn) && p[1] == '\n');
    }

    // A token ends here: at a general delimiter or the end of the text.
    [[gnu::always_inline]] static bool stops(const char* p)
    {
        const uint8_t kind = asetokens::Bytes.kind[static_cast<unsigned char>(*p)];
        return (kind & (asetokens::General | asetokens::End)) ||
               ((kind & asetokens::CarriageReturn) && p[1] == '\n');
    }

    [[gnu::always_inline]] static const char* skipDelimiters(const char* p, uint8_t set = asetokens::General)
    {
        // One delimiter between two tokens is the usual.
        if (asetokens::Bytes.kind[static_cast<unsigned char>(*p)] & set) {
            ++p;
            if (!(asetokens::Bytes.kind[static_cast<unsigned char>(*p)] & (set | asetokens::CarriageReturn)))
                return p;
        }
        while (delimits(p, set))
            ++p;
        return p;
    }

    // The token from `token` to `stop`, with the delimiter after it.
    void take(const char* token, const char* stop)
    {
        current_ = token;
        length_ = static_cast<size_t>(stop - token);
        if (*stop == '\r') [[unlikely]]
            stop += 2;
        else if (*stop != '\0') [[likely]]
            ++stop;
        context_ = stop;
    }

    void cut(uint8_t set)
    {
        const char* p = skipDelimiters(context_, set);
        if (*p == '\0') {
            context_ = p;
            current_ = nullptr;
            length_ = 0;
            return;
        }
        const char* token = p;
        const uint8_t stop = set | asetokens::End;
#if defined(__SSE2__)
        // Every byte that can end a token (the delimiters, the zero, the
        // carriage return) is at most ','; sixteen bytes at a time, only
        // those are looked up. The text's padding covers the bytes loaded
        // past its zero.
        const __m128i highest = _mm_set1_epi8(',');
        for (;; p += 16) {
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            unsigned low =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(c, highest), c)));
            for (; low; low &= low - 1) {
                const char* at = p + __builtin_ctz(low);
                const uint8_t kind = asetokens::Bytes.kind[static_cast<unsigned char>(*at)];
                if ((kind & stop) || ((kind & asetokens::CarriageReturn) && at[1] == '\n')) {
                    take(token, at);
                    return;
                }
            }
        }
#else
        for (;;) {
            const uint8_t kind = asetokens::Bytes.kind[static_cast<unsigned char>(*p)];
            if ((kind & stop) || ((kind & asetokens::CarriageReturn) && p[1] == '\n'))
                break;
            ++p;
        }
        take(token, p);
#endif
    }

    const char* context_;
    const bool quick_;
    const char* current_ = nullptr;
    size_t length_ = 0;
    int depth_ = 0;
};
