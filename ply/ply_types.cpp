#include "ply/ply_types.h"

#include <charconv>
#include <cmath>
#include <limits>

const char* const kPlyTypeNames[kPlyTypeCount] = {
    "invalid", "int8", "int16", "int32", "uint8", "uint16", "uint32", "float32", "float64",
};

const char* const kPlyTypeAliases[kPlyTypeCount] = {
    "invalid", "char", "short", "int", "uchar", "ushort", "uint", "float", "double",
};

const uint32_t kPlyTypeSizes[kPlyTypeCount] = {0, 1, 2, 4, 1, 2, 4, 4, 8};

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The white space that C's conversions skip before a number.
bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipCSpace(const char* p, const char* end) {
    while (p < end && IsCSpace(*p)) ++p;
    return p;
}

// Magnitude of the decimal digits at p, saturated at 2^32 so that both the
// signed and the unsigned conversion can tell an overflow.
uint64_t ReadDigitsSaturated(const char*& p, const char* end) {
    const uint64_t kLimit = uint64_t(1) << 32;
    uint64_t value = 0;
    while (p < end && IsDigit(*p)) {
        value = value * 10 + uint64_t(*p - '0');
        if (value > kLimit) value = kLimit;
        ++p;
    }
    return value;
}

// Exact powers of ten that a double holds without rounding.
const double kExactPowersOfTen[23] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

PlyType LookupType(std::string_view name) {
    for (int code = 0; code < kPlyTypeCount; ++code) {
        if (EqualsNoCase(name, kPlyTypeNames[code])) return PlyType(code);
    }
    for (int code = 0; code < kPlyTypeCount; ++code) {
        if (EqualsNoCase(name, kPlyTypeAliases[code])) return PlyType(code);
    }
    return kPlyInvalid;
}

uint32_t TypeSize(int type) {
    return (type >= 0 && type < kPlyTypeCount) ? kPlyTypeSizes[type] : 0;
}

int Tokenize(std::string_view line, std::vector<std::string_view>& tokens) {
    tokens.clear();
    const char* p = line.data();
    const char* end = p + line.size();
    for (;;) {
        while (p < end && IsTokenDelimiter(*p)) ++p;
        if (p == end) break;
        const char* start = p;
        while (p < end && !IsTokenDelimiter(*p)) ++p;
        tokens.emplace_back(start, size_t(p - start));
    }
    return int(tokens.size());
}

int32_t TextToInt32(const char* p, const char* end) {
    p = SkipCSpace(p, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    const uint64_t magnitude = ReadDigitsSaturated(p, end);
    if (negative) {
        return magnitude >= uint64_t(1) << 31 ? std::numeric_limits<int32_t>::min()
                                              : -int32_t(magnitude);
    }
    return magnitude > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(magnitude);
}

uint32_t TextToUint32(const char* p, const char* end) {
    p = SkipCSpace(p, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    const uint64_t magnitude = ReadDigitsSaturated(p, end);
    if (magnitude > UINT32_MAX) return UINT32_MAX;
    const uint32_t value = uint32_t(magnitude);
    return negative ? uint32_t(0u - value) : value;
}

// Scans the decimal number at p as strtod would, then converts it: exactly
// with one multiplication or division when the digits and the exponent are
// small (the common case), otherwise with the correctly rounded from_chars.
double TextToDouble(const char* p, const char* end) {
    p = SkipCSpace(p, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    const char* numberStart = p;

    uint64_t mantissa = 0;
    int significantDigits = 0;
    int64_t exponent = 0;
    bool anyDigit = false;
    bool truncated = false;
    while (p < end && IsDigit(*p)) {
        anyDigit = true;
        const int digit = *p++ - '0';
        if (mantissa == 0 && digit == 0) continue;
        if (significantDigits < 19) {
            mantissa = mantissa * 10 + uint64_t(digit);
            ++significantDigits;
        } else {
            ++exponent;
            truncated = truncated || digit != 0;
        }
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsDigit(*p)) {
            anyDigit = true;
            const int digit = *p++ - '0';
            if (mantissa == 0 && digit == 0) {
                --exponent;
                continue;
            }
            if (significantDigits < 19) {
                mantissa = mantissa * 10 + uint64_t(digit);
                ++significantDigits;
                --exponent;
            } else {
                truncated = truncated || digit != 0;
            }
        }
    }
    if (!anyDigit) return 0.0;
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
    const char* numberEnd = p;

    double value;
    if (mantissa == 0) {
        value = 0.0;
    } else if (!truncated && mantissa <= (uint64_t(1) << 53) && exponent >= -22 &&
               exponent <= 22) {
        value = double(mantissa);
        value = exponent < 0 ? value / kExactPowersOfTen[-exponent]
                             : value * kExactPowersOfTen[exponent];
    } else {
        auto result = std::from_chars(numberStart, numberEnd, value, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range) {
            // Too large or too small for a double: strtod gives HUGE_VAL or 0.
            value = significantDigits + exponent > 0 ? HUGE_VAL : 0.0;
        } else if (result.ec != std::errc()) {
            value = 0.0;
        }
    }
    return negative ? -value : value;
}

int32_t TruncateToInt32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

float DecodeText(std::string_view token, int type) {
    const char* p = token.data();
    const char* end = p + token.size();
    switch (type) {
        case kPlyInt8:
        case kPlyInt16:
        case kPlyInt32:
            return float(TextToInt32(p, end));
        case kPlyUint8:
        case kPlyUint16: {
            // A negative text wraps around into the unsigned 32-bit range.
            const int64_t value = TextToInt32(p, end);
            return float(value < 0 ? value + (int64_t(1) << 32) : value);
        }
        case kPlyUint32:
            return float(TextToUint32(p, end));
        case kPlyFloat32:
        case kPlyFloat64:
            return float(TextToDouble(p, end));
        default:
            return 0.0f;
    }
}

int32_t DecodeTextIndex(std::string_view token, int type) {
    const char* p = token.data();
    const char* end = p + token.size();
    switch (type) {
        case kPlyInt8:
        case kPlyInt16:
        case kPlyInt32:
            return TextToInt32(p, end);
        case kPlyUint8:
        case kPlyUint16:
        case kPlyUint32:
            return int32_t(TextToUint32(p, end));
        case kPlyFloat32:
        case kPlyFloat64:
            return TruncateToInt32(TextToDouble(p, end));
        default:
            return 0;
    }
}
