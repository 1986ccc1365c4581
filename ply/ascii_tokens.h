// Walking the tokens of one ASCII record line in place, and decoding them.
#pragma once

#include <string_view>

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
inline float DecodeToken(const char* p, const char* end, const char* readable, int type,
                         const char** next) {
    if (*p == '\v' || *p == '\f') {
        *next = SkipToken(p, end);
        return DecodeText(std::string_view(p, size_t(*next - p)), type);
    }
    const char* stop;
    const float value = DecodeTextAt(p, end, readable, type, &stop);
    *next = SkipToken(stop, end);
    return value;
}

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
