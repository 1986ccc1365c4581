// Walking the tokens of one ASCII record line in place, and decoding them.
#pragma once

#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ply/ply_types.h"
#include "ply/text_numbers.h"

inline const char* SkipDelimiters(const char* p, const char* end) {
    while (p < end && IsTokenDelimiter(*p)) ++p;
    return p;
}

inline const char* SkipToken(const char* p, const char* end) {
    while (p < end && !IsTokenDelimiter(*p)) ++p;
    return p;
}

// The value of the token at p (its first character) and, in *next, the
// token's end. The number is read in place: it cannot run into the next
// token, because no delimiter belongs to a number. readable is as for the
// Scan functions. A token that starts with the white space C's conversions
// skip and the tokenizer does not (\v, \f) is converted on its own.
inline double DecodeDoubleToken(const char* p, const char* end, const char* readable, int type,
                                const char** next) {
    if (*p == '\v' || *p == '\f') {
        *next = SkipToken(p, end);
        return DecodeTextDouble(std::string_view(p, size_t(*next - p)), type);
    }
    const char* stop;
    const double value = DecodeTextDoubleAt(p, end, readable, type, &stop);
    *next = SkipToken(stop, end);
    return value;
}

inline float DecodeToken(const char* p, const char* end, const char* readable, int type,
                         const char** next) {
    return float(DecodeDoubleToken(p, end, readable, type, next));
}

inline int32_t DecodeIndexToken(const char* p, const char* end, const char* readable, int type,
                                const char** next) {
    if (*p == '\v' || *p == '\f') {
        *next = SkipToken(p, end);
        return DecodeTextIndex(std::string_view(p, size_t(*next - p)), type);
    }
    const char* stop;
    const int32_t value = DecodeTextIndexAt(p, end, readable, type, &stop);
    *next = SkipToken(stop, end);
    return value;
}

// Walking one line that ends at lineBreak without searching for its end
// first. Each function gives null when the line ends (at lineBreak or at
// limit, the end of what is in memory) before what it looks for, or when a
// token starts with \v or \f, which the in-place conversions do not read.

// The first token at or after p, which is not inside a token.
inline const char* TokenInLine(const char* p, const char* limit, char lineBreak) {
    while (p < limit && *p != lineBreak && IsTokenDelimiter(*p)) ++p;
    return p < limit && *p != lineBreak && *p != '\v' && *p != '\f' ? p : nullptr;
}

inline const char* FirstTokenInLine(const char* lineStart, const char* limit, char lineBreak) {
    if (limit > lineStart && *lineStart > ' ') return lineStart;
    return TokenInLine(lineStart, limit, lineBreak);
}

// The token after the one whose number stopped at stop. Most tokens are one
// blank apart.
inline const char* NextTokenInLine(const char* stop, const char* limit, char lineBreak) {
    if (limit - stop > 1 && stop[0] == ' ' && static_cast<unsigned char>(stop[1]) > ' ') {
        return stop + 1;
    }
    return TokenInLine(SkipToken(stop, limit), limit, lineBreak);
}

// The line break, when no token follows the one whose number stopped at stop.
inline const char* LineEndAfterToken(const char* stop, const char* limit, char lineBreak) {
    if (stop < limit && *stop == lineBreak) return stop;
    const char* p = SkipToken(stop, limit);
    while (p < limit && *p != lineBreak && IsTokenDelimiter(*p)) ++p;
    return p < limit && *p == lineBreak ? p : nullptr;
}

// The line break at or after p, whatever comes before it; null when it is
// not before limit. Face lines are short: a few 16-byte compares before the
// general search.
inline const char* NextLineBreak(const char* p, const char* limit, char lineBreak) {
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
    const __m128i pattern = _mm_set1_epi8(lineBreak);
    for (int block = 0; block < 4 && limit - p >= 16; ++block, p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern));
        if (found) return p + __builtin_ctz(unsigned(found));
    }
#endif
    return static_cast<const char*>(std::memchr(p, lineBreak, size_t(limit - p)));
}

// A list length in a line: most are one digit and a blank.
KS_TOKEN_INLINE int32_t DecodeListLength(const char* p, const char* limit, const char* readable,
                                         int type, const char** stop) {
    if (limit - p > 1 && p[1] == ' ' && p[0] >= '0' && p[0] <= '9' && type >= kPlyInt8 &&
        type <= kPlyFloat64) {
        *stop = p + 1;
        return p[0] - '0';
    }
    return DecodeTextIndexAt(p, limit, readable, type, stop);
}
