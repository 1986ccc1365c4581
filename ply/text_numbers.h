// Text-to-number conversions with the rules of C's atoi, strtoul and strtod
// in the "C" locale, and their fast forms for the ASCII record readers.
//
// The Scan functions convert the number that starts exactly at p (no white
// space is skipped), never look at text from end on, and return where the
// number stops. They may load whole 8-byte words up to readable (readable >=
// end; the bytes up to it must be readable memory), which lets the common
// short number be read without a branch per digit.
#pragma once

#include <cstdint>

// The white space that C's conversions skip before a number.
inline bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline const char* SkipCSpace(const char* p, const char* end) {
    while (p < end && IsCSpace(*p)) ++p;
    return p;
}

const char* ScanInt32(const char* p, const char* end, const char* readable, int32_t* value);
const char* ScanUint32(const char* p, const char* end, const char* readable, uint32_t* value);
const char* ScanDouble(const char* p, const char* end, const char* readable, double* value);

int32_t TruncateToInt32(double value);

// DecodeText and DecodeTextIndex of the text at p (see ply_types.h); *stop
// receives where the number ends. Inline: the record readers call them for
// every token.
inline float DecodeTextAt(const char* p, const char* end, const char* readable, int type,
                          const char** stop) {
    switch (type) {
        case 1:    // int8
        case 2:    // int16
        case 3: {  // int32
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return float(value);
        }
        case 4:    // uint8
        case 5: {  // uint16: a negative text wraps around into the unsigned 32-bit range
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return float(value < 0 ? int64_t(value) + (int64_t(1) << 32) : int64_t(value));
        }
        case 6: {  // uint32
            uint32_t value;
            *stop = ScanUint32(p, end, readable, &value);
            return float(value);
        }
        case 7:    // float32
        case 8: {  // float64
            double value;
            *stop = ScanDouble(p, end, readable, &value);
            return float(value);
        }
        default:
            *stop = p;
            return 0.0f;
    }
}

// DecodeTextAt without the final rounding to float for the types whose
// values a float may not hold: integers of up to 32 bits and float64.
inline double DecodeTextDoubleAt(const char* p, const char* end, const char* readable, int type,
                                 const char** stop) {
    switch (type) {
        case 1:
        case 2:
        case 3: {
            int32_t value;
            *stop = ScanInt32(p, end, readable, &value);
            return value;
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
            return DecodeTextAt(p, end, readable, type, stop);
    }
}

inline int32_t DecodeTextIndexAt(const char* p, const char* end, const char* readable, int type,
                                 const char** stop) {
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
