// Decoding of one binary value in either byte order, independent of the
// byte order of the machine (the shifts compile to plain loads and swaps);
// and the bit and byte-mask helpers the text readers share.
#pragma once

#include <cstdint>
#include <cstring>

#include "ply/ply_types.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The index of the lowest set bit of a value that is not 0.
inline int LowestSetBit(uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctzll(bits);
#else
    int n = 0;
    while (!(bits & 1)) bits >>= 1, ++n;
    return n;
#endif
}

inline int HighestSetBit(uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
    return 63 - __builtin_clzll(bits);
#else
    int n = 63;
    while (!(bits >> n)) --n;
    return n;
#endif
}

// A bit for each of the 64 bytes at p that equals c: bit i for p[i].
inline uint64_t BytesEqualTo(const char* p, char c) {
    uint64_t bits = 0;
#if defined(__SSE2__)
    const __m128i pattern = _mm_set1_epi8(c);
    for (int block = 0; block < 4; ++block) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * block));
        const unsigned found = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
        bits |= uint64_t(found) << (16 * block);
    }
#else
    for (int i = 0; i < 64; ++i) bits |= uint64_t(p[i] == c) << i;
#endif
    return bits;
}

// Without a popcount instruction in the baseline, the builtin is a call.
inline int CountSetBits(uint64_t bits) {
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((bits * 0x0101010101010101ull) >> 56);
}

inline uint16_t LoadU16(const unsigned char* p, bool bigEndian) {
    return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

inline uint32_t LoadU32(const unsigned char* p, bool bigEndian) {
    if (bigEndian) {
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    }
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[0]);
}

inline uint64_t LoadU64(const unsigned char* p, bool bigEndian) {
    const uint64_t first = LoadU32(p, bigEndian);
    const uint64_t second = LoadU32(p + 4, bigEndian);
    return bigEndian ? (first << 32 | second) : (second << 32 | first);
}

inline float LoadFloat32(const unsigned char* p, bool bigEndian) {
    const uint32_t bits = LoadU32(p, bigEndian);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline double LoadFloat64(const unsigned char* p, bool bigEndian) {
    const uint64_t bits = LoadU64(p, bigEndian);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// One value of a valid type (1 to 8) as a float.
inline float BinaryToFloat(const unsigned char* p, int type, bool bigEndian) {
    switch (type) {
        case kPlyInt8:
            return float(int8_t(p[0]));
        case kPlyInt16:
            return float(int16_t(LoadU16(p, bigEndian)));
        case kPlyInt32:
            return float(int32_t(LoadU32(p, bigEndian)));
        case kPlyUint8:
            return float(p[0]);
        case kPlyUint16:
            return float(LoadU16(p, bigEndian));
        case kPlyUint32:
            return float(LoadU32(p, bigEndian));
        case kPlyFloat32:
            return LoadFloat32(p, bigEndian);
        case kPlyFloat64:
            return float(LoadFloat64(p, bigEndian));
        default:
            return 0.0f;
    }
}

// One value of a valid type as a double, exactly.
inline double BinaryToDouble(const unsigned char* p, int type, bool bigEndian) {
    switch (type) {
        case kPlyInt32:
            return double(int32_t(LoadU32(p, bigEndian)));
        case kPlyUint32:
            return double(LoadU32(p, bigEndian));
        case kPlyFloat64:
            return LoadFloat64(p, bigEndian);
        default:
            return double(BinaryToFloat(p, type, bigEndian));  // a float holds the rest
    }
}

// One value of a valid type as a 32-bit integer: signed types sign-extended,
// unsigned ones zero-extended, floating ones truncated toward zero.
inline int32_t BinaryToIndex(const unsigned char* p, int type, bool bigEndian) {
    switch (type) {
        case kPlyInt8:
            return int8_t(p[0]);
        case kPlyInt16:
            return int16_t(LoadU16(p, bigEndian));
        case kPlyInt32:
        case kPlyUint32:
            return int32_t(LoadU32(p, bigEndian));
        case kPlyUint8:
            return p[0];
        case kPlyUint16:
            return LoadU16(p, bigEndian);
        case kPlyFloat32:
            return TruncateToInt32(LoadFloat32(p, bigEndian));
        case kPlyFloat64:
            return TruncateToInt32(LoadFloat64(p, bigEndian));
        default:
            return 0;
    }
}
