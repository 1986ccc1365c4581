// Scalar types of PLY files, the ASCII tokenizer and the decoding of one
// text value into the readers' two working types (float and 32-bit integer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

enum PlyType : int32_t {
    kPlyInvalid = 0,
    kPlyInt8 = 1,
    kPlyInt16 = 2,
    kPlyInt32 = 3,
    kPlyUint8 = 4,
    kPlyUint16 = 5,
    kPlyUint32 = 6,
    kPlyFloat32 = 7,
    kPlyFloat64 = 8,
};

const int kPlyTypeCount = 9;

// Codes below this one are integer types (the colour rules divide them by 255).
const int kPlyFirstFloatType = kPlyFloat32;

// Name and alias of each type, indexed by its code.
extern const char* const kPlyTypeNames[kPlyTypeCount];
extern const char* const kPlyTypeAliases[kPlyTypeCount];
extern const uint32_t kPlyTypeSizes[kPlyTypeCount];

// The type code of a header type name (names first, then aliases, ASCII case
// ignored); kPlyInvalid for anything else.
PlyType LookupType(std::string_view name);

// Bytes of one value of the type; 0 for kPlyInvalid and any code outside the table.
inline uint32_t TypeSize(int type) {
    return (type >= 0 && type < kPlyTypeCount) ? kPlyTypeSizes[type] : 0;
}

// ASCII case-insensitive equality, as every keyword and name of a header is compared.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Token delimiters of every ASCII line: space, tab, carriage return, line feed.
inline bool IsTokenDelimiter(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits a line into its tokens (views into the line); returns their number.
// Runs of delimiters separate tokens and never make empty ones. Lines of any
// length and any number of tokens are taken whole.
int Tokenize(std::string_view line, std::vector<std::string_view>& tokens);

// Text to number, with the rules of C's atoi, strtoul and strtod in the "C"
// locale: leading white space skipped, optional sign, conversion stops at the
// first character that does not belong to the number, no digits gives 0.
// Overflow saturates (INT32_MIN/INT32_MAX, UINT32_MAX, +-HUGE_VAL).
// The floating form is decimal only: no hexadecimal, "inf" or "nan" text.
int32_t TextToInt32(const char* p, const char* end);
uint32_t TextToUint32(const char* p, const char* end);
double TextToDouble(const char* p, const char* end);

// A double truncated toward zero into 32 bits; out of range saturates, NaN gives 0.
int32_t TruncateToInt32(double value);

// One ASCII value as a float, converted by the property's type.
float DecodeText(std::string_view token, int type);

// The same as a double: exact for integers and float64.
double DecodeTextDouble(std::string_view token, int type);

// One ASCII value as a 32-bit integer (a list length, an index, a material number).
int32_t DecodeTextIndex(std::string_view token, int type);
