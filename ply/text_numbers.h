// Text-to-number conversions with the rules of C's atoi, strtoul and strtod
// in the "C" locale, and their fast forms for the ASCII record readers.
//
// The Scan functions convert the number that starts exactly at p (no white
// space is skipped), never look at text from end on, and return where the
// number stops. When kInlineScanReach bytes from p on are readable memory
// (up to readable, which is >= end), the common short forms are read inline
// from whole 8-byte words, without a branch per digit.
#pragma once

#include <cstdint>

#include "ply/binary_values.h"

// The record readers' per-token conversions: inlined whole, since a call
// costs them more than the conversion itself.
#if defined(__GNUC__) || defined(__clang__)
#define KS_TOKEN_INLINE inline __attribute__((always_inline))
#else
#define KS_TOKEN_INLINE inline
#endif

// The white space that C's conversions skip before a number.
inline bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline const char* SkipCSpace(const char* p, const char* end) {
    while (p < end && IsCSpace(*p)) ++p;
    return p;
}

// Every form of number, out of line; the inline Scan functions below take
// the short common forms themselves and hand the rest to these.
const char* ScanInt32Slow(const char* p, const char* end, int32_t* value);
const char* ScanUint32Slow(const char* p, const char* end, uint32_t* value);
const char* ScanDoubleSlow(const char* p, const char* end, double* value);

// Powers of ten that a double, and that a 64-bit integer, holds exactly.
extern const double kExactPowersOfTen[23];
extern const uint64_t kPowersOfTen[9];

// The eight bytes at p as a word whose lowest byte is p[0], each less '0': a
// digit byte then holds its value.
inline uint64_t DigitWord(const char* p) {
    return LoadU64(reinterpret_cast<const unsigned char*>(p), false) ^ 0x3030303030303030ull;
}

// The bytes of a digit word that are not digits, as their high bits.
inline uint64_t NonDigitBytes(uint64_t word) {
    return ((word + 0x7676767676767676ull) | word) & 0x8080808080808080ull;
}

// The number of digit bytes at the start of a digit word, or 8 for eight.
// A byte is not a digit when its value is above 9; a carry out of such a
// byte can only spoil the bytes after it, which do not count.
inline int LeadingDigits(uint64_t word) {
    const uint64_t others = NonDigitBytes(word);
    return others ? LowestSetBit(others) / 8 : 8;
}

// The value of the first n (1 to 8) digits of a digit word: the digits, with
// zeros before them, folded pairwise.
inline uint64_t ValueOfDigits(uint64_t word, int n) {
    word <<= 8 * (8 - n);
    word = word * 10 + (word >> 8);
    return (((word & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
            (((word >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
           32;
}

// 'e' or 'E', in one compare.
inline bool IsExponentMark(char c) { return (c | 0x20) == 'e'; }

// Readable bytes from p on that the inline forms load: a sign, 7 integer
// digits, the point and two words of fraction digits.
const int kInlineScanReach = 25;

// An optional '-' and 1 to 7 digits, which cannot overflow.
KS_TOKEN_INLINE const char* ScanInt32(const char* p, const char* end, const char* readable,
                                      int32_t* value) {
    if (readable - p >= kInlineScanReach) {
        const bool negative = *p == '-';
        const char* digits = p + negative;
        const uint64_t word = DigitWord(digits);
        const int n = LeadingDigits(word);
        if (n > 0 && n < 8 && digits + n <= end) {
            const int32_t magnitude = int32_t(ValueOfDigits(word, n));
            *value = negative ? -magnitude : magnitude;
            return digits + n;
        }
    }
    return ScanInt32Slow(p, end, value);
}

KS_TOKEN_INLINE const char* ScanUint32(const char* p, const char* end, const char* readable,
                                       uint32_t* value) {
    if (readable - p >= kInlineScanReach) {
        const uint64_t word = DigitWord(p);
        const int n = LeadingDigits(word);
        if (n > 0 && n < 8 && p + n <= end) {
            *value = uint32_t(ValueOfDigits(word, n));
            return p + n;
        }
    }
    return ScanUint32Slow(p, end, value);
}

// An optional '-' and 1 to 7 digits, or up to 7 integer digits, a point and
// fraction digits, at least one digit and at most 15 in all, no exponent:
// an exact mantissa and one correctly rounded division. The digits around
// the point are read as one run, with the point taken out of the first word.
KS_TOKEN_INLINE const char* ScanDouble(const char* p, const char* end, const char* readable,
                                       double* value) {
    if (readable - p >= kInlineScanReach) {
        const bool negative = *p == '-';
        const char* digits = p + negative;
        const uint64_t word = DigitWord(digits);
        const int n = LeadingDigits(word);
        const char next = digits[n];
        if (next == '.' && n < 8) {
            // The bytes after the point moved down over it.
            const uint64_t below = (uint64_t(1) << (8 * n)) - 1;
            const uint64_t joined = (word & below) | (DigitWord(digits + 1) & ~below);
            int all = LeadingDigits(joined);
            const char* stop = digits + all + 1;
            if (all > 0) {
                uint64_t mantissa = ValueOfDigits(joined, all);
                if (all == 8) {
                    const uint64_t moreWord = DigitWord(stop);
                    const int more = LeadingDigits(moreWord);
                    if (more > 0) {
                        mantissa = mantissa * kPowersOfTen[more] + ValueOfDigits(moreWord, more);
                        all += more;
                        stop += more;
                    }
                }
                if (all <= 15 && !IsExponentMark(*stop) && stop <= end) {
                    const double magnitude = double(int64_t(mantissa)) / kExactPowersOfTen[all - n];
                    *value = negative ? -magnitude : magnitude;
                    return stop;
                }
            }
        } else if (n > 0 && n < 8 && !IsExponentMark(next) && digits + n <= end) {
            const double magnitude = double(int64_t(ValueOfDigits(word, n)));
            *value = negative ? -magnitude : magnitude;
            return digits + n;
        }
    }
    return ScanDoubleSlow(p, end, value);
}

int32_t TruncateToInt32(double value);

// DecodeText, DecodeTextDouble and DecodeTextIndex of the text at p (see
// ply_types.h); *stop receives where the number ends. Inline: the record
// readers call them for every token. The double form keeps the values a
// float may not hold (integers of up to 32 bits and float64) unrounded.
KS_TOKEN_INLINE double DecodeTextDoubleAt(const char* p, const char* end, const char* readable,
                                          int type, const char** stop) {
    // The commonest type first: a compare costs less than the jump table.
    if (type == kPlyFloat32) {
        double value;
        *stop = ScanDouble(p, end, readable, &value);
        return float(value);
    }
    switch (type) {
        case 1:
        case 2:
        case 3: {
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return value;
        }
        case 4:
        case 5: {
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return float(value < 0 ? int64_t(value) + (int64_t(1) << 32) : int64_t(value));
        }
        case 6: {
            uint32_t value;
            *stop = ScanUint32(p, end, readable, &value);
            return value;
        }
        case 8: {
            double value;
            *stop = ScanDouble(p, end, readable, &value);
            return value;
        }
        default:
            *stop = p;
            return 0.0;
    }
}

// Rounding the exact value once more gives what one rounding would: every
// value here is exact in a double.
KS_TOKEN_INLINE float DecodeTextAt(const char* p, const char* end, const char* readable, int type,
                                   const char** stop) {
    return float(DecodeTextDoubleAt(p, end, readable, type, stop));
}

KS_TOKEN_INLINE int32_t DecodeTextIndexAt(const char* p, const char* end, const char* readable,
                                          int type, const char** stop) {
    switch (type) {
        case 1:
        case 2:
        case 3: {
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return value;
        }
        case 4:
        case 5:
        case 6: {
            uint32_t value;
            *stop = ScanUint32(p, end, readable, &value);
            return int32_t(value);
        }
        case 7:
        case 8: {
            double value;
            *stop = ScanDouble(p, end, readable, &value);
            return TruncateToInt32(value);
        }
        default:
            *stop = p;
            return 0;
    }
}
