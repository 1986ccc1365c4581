#include "ply/ply_types.h"

#include "ply/text_numbers.h"

const char* const kPlyTypeNames[kPlyTypeCount] = {
    "invalid", "int8", "int16", "int32", "uint8", "uint16", "uint32", "float32", "float64",
};

const char* const kPlyTypeAliases[kPlyTypeCount] = {
    "invalid", "char", "short", "int", "uchar", "ushort", "uint", "float", "double",
};

const uint32_t kPlyTypeSizes[kPlyTypeCount] = {0, 1, 2, 4, 1, 2, 4, 4, 8};

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

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

float DecodeText(std::string_view token, int type) {
    const char* end = token.data() + token.size();
    const char* stop;
    return DecodeTextAt(SkipCSpace(token.data(), end), end, end, type, &stop);
}

double DecodeTextDouble(std::string_view token, int type) {
    const char* end = token.data() + token.size();
    const char* stop;
    return DecodeTextDoubleAt(SkipCSpace(token.data(), end), end, end, type, &stop);
}

int32_t DecodeTextIndex(std::string_view token, int type) {
    const char* end = token.data() + token.size();
    const char* stop;
    return DecodeTextIndexAt(SkipCSpace(token.data(), end), end, end, type, &stop);
}
