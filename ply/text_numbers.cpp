#include "ply/text_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "ply/ply_types.h"

const double kExactPowersOfTen[23] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

const uint64_t kPowersOfTen[9] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sign and digits of an integer; the magnitude saturates at 2^32 so that
// both the signed and the unsigned conversion can tell an overflow.
const char* ScanMagnitude(const char* p, const char* end, bool* negative, uint64_t* magnitude) {
    const uint64_t kLimit = uint64_t(1) << 32;
    *negative = false;
    if (p < end && (*p == '+' || *p == '-')) *negative = (*p++ == '-');
    uint64_t value = 0;
    for (; p < end && IsDigit(*p); ++p) {
        if (value < kLimit) value = value * 10 + uint64_t(*p - '0');
    }
    *magnitude = value > kLimit ? kLimit : value;
    return p;
}

// Roughly the number of integer digits of the number at p, made exact for
// the one use it has: positive exactly for magnitudes of 1 and more.
int64_t DecimalMagnitude(const char* p, const char* end) {
    int64_t position = 0;
    int64_t leading = -1;
    bool inFraction = false;
    int64_t integerDigits = 0;
    for (; p < end; ++p) {
        if (*p == '.') {
            inFraction = true;
            continue;
        }
        if (!IsDigit(*p)) break;
        if (!inFraction) ++integerDigits;
        if (*p != '0' && leading < 0) leading = position;
        ++position;
    }
    if (leading < 0) return std::numeric_limits<int64_t>::min() / 2;
    int64_t exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
        while (p < end && IsDigit(*p)) {
            if (exponent < 100000000) exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        if (negative) exponent = -exponent;
    }
    return integerDigits - leading + exponent;
}

}  // namespace

const char* ScanInt32Slow(const char* p, const char* end, int32_t* value) {
    bool negative;
    uint64_t magnitude;
    p = ScanMagnitude(p, end, &negative, &magnitude);
    if (negative) {
        *value = magnitude >= uint64_t(1) << 31 ? std::numeric_limits<int32_t>::min()
                                                : -int32_t(magnitude);
    } else {
        *value = magnitude > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(magnitude);
    }
    return p;
}

const char* ScanUint32Slow(const char* p, const char* end, uint32_t* value) {
    bool negative;
    uint64_t magnitude;
    p = ScanMagnitude(p, end, &negative, &magnitude);
    if (magnitude > UINT32_MAX) {
        *value = UINT32_MAX;
    } else {
        *value = negative ? uint32_t(0u - uint32_t(magnitude)) : uint32_t(magnitude);
    }
    return p;
}

// Any decimal number, as strtod reads it: exactly with one multiplication or
// division when it has at most 19 digits and a small exponent, otherwise with
// the correctly rounded from_chars.
const char* ScanDoubleSlow(const char* p, const char* end, double* result) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    const char* numberStart = p;

    uint64_t mantissa = 0;
    int digits = 0;  // digits taken into the mantissa, leading zeros included
    int64_t exponent = 0;
    const char* integerStart = p;
    while (p < end && IsDigit(*p)) {
        if (digits < 19) mantissa = mantissa * 10 + uint64_t(*p - '0');
        ++digits;
        ++p;
    }
    const bool anyInteger = p != integerStart;
    bool anyFraction = false;
    if (p < end && *p == '.') {
        const char* fractionStart = ++p;
        while (p < end && IsDigit(*p)) {
            if (digits < 19) {
                mantissa = mantissa * 10 + uint64_t(*p - '0');
                --exponent;
            }
            ++digits;
            ++p;
        }
        anyFraction = p != fractionStart;
    }
    if (!anyInteger && !anyFraction) {
        *result = 0.0;
        return numberStart;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q < end && (*q == '+' || *q == '-')) negativeExponent = (*q++ == '-');
        if (q < end && IsDigit(*q)) {
            int64_t written = 0;
            while (q < end && IsDigit(*q)) {
                if (written < 100000000) written = written * 10 + (*q - '0');
                ++q;
            }
            exponent += negativeExponent ? -written : written;
            p = q;
        }
    }

    double value;
    if (digits <= 19 && mantissa <= (uint64_t(1) << 53) && exponent >= -22 && exponent <= 22) {
        value = double(mantissa);
        value = exponent < 0 ? value / kExactPowersOfTen[-exponent]
                             : value * kExactPowersOfTen[exponent];
    } else {
        auto converted = std::from_chars(numberStart, p, value, std::chars_format::general);
        if (converted.ec == std::errc::result_out_of_range) {
            // Too large or too small for a double: strtod gives HUGE_VAL or 0.
            value = DecimalMagnitude(numberStart, p) > 0 ? HUGE_VAL : 0.0;
        } else if (converted.ec != std::errc()) {
            value = 0.0;
        }
    }
    *result = negative ? -value : value;
    return p;
}

int32_t TextToInt32(const char* p, const char* end) {
    int32_t value;
    ScanInt32(SkipCSpace(p, end), end, end, &value);
    return value;
}

uint32_t TextToUint32(const char* p, const char* end) {
    uint32_t value;
    ScanUint32(SkipCSpace(p, end), end, end, &value);
    return value;
}

double TextToDouble(const char* p, const char* end) {
    double value;
    ScanDouble(SkipCSpace(p, end), end, end, &value);
    return value;
}

int32_t TruncateToInt32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}
