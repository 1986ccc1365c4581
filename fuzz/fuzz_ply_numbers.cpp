// Fuzz target: the text conversions against the C library's in the "C"
// locale. Any difference in the decimal grammar's result is a crash.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ply/ply_types.h"
#include "ply/text_numbers.h"

namespace {

// Length of the decimal number strtod would take at p (sign, digits,
// point, exponent), so that hexadecimal, inf and nan text are left out.
size_t DecimalPrefix(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]) && text[i]) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* begin = text.data();
    const char* end = begin + text.size();

    const double value = TextToDouble(begin, end);
    const size_t prefix = DecimalPrefix(text);
    const std::string number = text.substr(0, prefix);
    const double expected = prefix ? std::strtod(number.c_str(), nullptr) : 0.0;
    if (std::memcmp(&value, &expected, sizeof value) != 0) __builtin_trap();

    // Integer conversions: the strtoll result clamped to 32 bits.
    if (std::memchr(data, 0, size) == nullptr) {
        errno = 0;
        const long long wide = std::strtoll(text.c_str(), nullptr, 10);
        const long long clamped = wide > INT32_MAX   ? INT32_MAX
                                  : wide < INT32_MIN ? INT32_MIN
                                                     : wide;
        if (TextToInt32(begin, end) != int32_t(clamped)) __builtin_trap();
    }
    // The in-place scans of the record readers, with digits after the end
    // that they may load but must not take: a long run, and a short number.
    for (const char* tail : {"9", "5 "}) {
        std::string padded = text + tail;
        padded.resize(text.size() + kInlineScanReach + 8, '9');
        const char* paddedEnd = padded.data() + text.size();
        const char* readable = padded.data() + padded.size();
        const char* start = SkipCSpace(padded.data(), paddedEnd);
        double scanned;
        ScanDouble(start, paddedEnd, readable, &scanned);
        if (std::memcmp(&scanned, &value, sizeof value) != 0) __builtin_trap();
        int32_t signedValue;
        ScanInt32(start, paddedEnd, readable, &signedValue);
        if (signedValue != TextToInt32(begin, end)) __builtin_trap();
        uint32_t unsignedValue;
        ScanUint32(start, paddedEnd, readable, &unsignedValue);
        if (unsignedValue != TextToUint32(begin, end)) __builtin_trap();
    }
    DecodeText(text, kPlyUint32);
    DecodeTextIndex(text, kPlyFloat64);
    return 0;
}
