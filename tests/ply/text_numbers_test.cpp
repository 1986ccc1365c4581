// Tokenizer, type table and the conversion of text and binary values.
#include "ply/text_numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "ply/binary_values.h"
#include "ply/ply_types.h"
#include "tests/ply/ply_test_files.h"

namespace {

int CountTokens(const std::string& line) {
    std::vector<std::string_view> tokens;
    return Tokenize(line, tokens);
}

double ToDouble(const std::string& text) {
    return TextToDouble(text.data(), text.data() + text.size());
}

uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

TEST(Tokenizer, BlanksTabsAndLineBreaksGiveNoTokens) {
    EXPECT_EQ(CountTokens(" \t  \r\n"), 0);
    EXPECT_EQ(CountTokens(""), 0);
}

TEST(Tokenizer, LeadingTabAndTrailingCarriageReturnAreNotTokens) {
    std::vector<std::string_view> tokens;
    ASSERT_EQ(Tokenize("\t1.5e2   -3\r", tokens), 2);
    EXPECT_EQ(tokens[0], "1.5e2");
    EXPECT_EQ(tokens[1], "-3");
}

TEST(Tokenizer, KeepsEveryTokenOfALongLine) {
    std::string line;
    for (int i = 0; i < 1000; ++i) line += std::to_string(i) + " ";
    std::vector<std::string_view> tokens;
    ASSERT_EQ(Tokenize(line, tokens), 1000);
    EXPECT_EQ(tokens[999], "999");
}

TEST(TypeTable, LooksUpNamesAndAliasesInAnyCase) {
    EXPECT_EQ(LookupType("uchar"), kPlyUint8);
    EXPECT_EQ(LookupType("UChar"), kPlyUint8);
    EXPECT_EQ(LookupType("UCHAR"), kPlyUint8);
    EXPECT_EQ(LookupType("float32"), kPlyFloat32);
    EXPECT_EQ(LookupType("double"), kPlyFloat64);
    EXPECT_EQ(LookupType("invalid"), kPlyInvalid);
    EXPECT_EQ(LookupType("int64"), kPlyInvalid);
    EXPECT_EQ(LookupType(""), kPlyInvalid);
    for (int code = 0; code < kPlyTypeCount; ++code) {
        EXPECT_EQ(LookupType(kPlyTypeNames[code]), code);
        EXPECT_EQ(LookupType(kPlyTypeAliases[code]), code);
    }
}

TEST(TypeTable, SizesByCode) {
    const uint32_t expected[] = {0, 1, 2, 4, 1, 2, 4, 4, 8};
    for (int code = 0; code < kPlyTypeCount; ++code) EXPECT_EQ(TypeSize(code), expected[code]);
    EXPECT_EQ(TypeSize(9), 0u);
    EXPECT_EQ(TypeSize(-1), 0u);
}

TEST(DecodeText, IntegerTypesStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(DecodeText("255", kPlyUint8), 255.0f);
    EXPECT_EQ(DecodeText("3.7", kPlyInt32), 3.0f);
    EXPECT_EQ(DecodeText("-12abc", kPlyInt16), -12.0f);
    EXPECT_EQ(DecodeText("+7", kPlyInt8), 7.0f);
    EXPECT_EQ(DecodeText("1e3", kPlyInt32), 1.0f);
    EXPECT_EQ(DecodeText("abc", kPlyInt32), 0.0f);
    EXPECT_EQ(DecodeText("-", kPlyInt32), 0.0f);
}

TEST(DecodeText, UnsignedTypesWrapNegativeText) {
    EXPECT_EQ(DecodeText("4294967295", kPlyUint32), 4294967296.0f);
    EXPECT_EQ(DecodeText("-1", kPlyUint8), 4294967296.0f);  // 2^32 - 1, rounded to float
    EXPECT_EQ(DecodeText("-2", kPlyUint16), 4294967294.0f);
    EXPECT_EQ(DecodeText("-1", kPlyUint32), 4294967296.0f);
    EXPECT_EQ(DecodeText("300", kPlyUint8), 300.0f);  // no clamping to the type's range
}

TEST(DecodeText, FloatTypesAndNonNumbers) {
    EXPECT_EQ(DecodeText("abc", kPlyFloat32), 0.0f);
    EXPECT_EQ(DecodeText("1.5e2", kPlyFloat32), 150.0f);
    EXPECT_EQ(DecodeText("0.1", kPlyFloat64), 0.1f);
    EXPECT_EQ(DecodeText("7", kPlyInvalid), 0.0f);
    EXPECT_EQ(DecodeText("7", 42), 0.0f);
}

TEST(DecodeTextIndex, ConvertsByType) {
    EXPECT_EQ(DecodeTextIndex("3.7", kPlyFloat32), 3);
    EXPECT_EQ(DecodeTextIndex("-2.5", kPlyFloat64), -2);
    EXPECT_EQ(DecodeTextIndex("4294967295", kPlyUint32), -1);
    EXPECT_EQ(uint32_t(DecodeTextIndex("-1", kPlyUint8)), 0xFFFFFFFFu);
    EXPECT_EQ(DecodeTextIndex("-5", kPlyInt8), -5);
    EXPECT_EQ(DecodeTextIndex("12", kPlyInvalid), 0);
}

// Saturation is this reader's answer for numbers outside 32 bits.
TEST(DecodeTextIndex, OutOfRangeNumbersSaturate) {
    EXPECT_EQ(DecodeTextIndex("99999999999", kPlyInt32), INT32_MAX);
    EXPECT_EQ(DecodeTextIndex("-99999999999", kPlyInt32), INT32_MIN);
    EXPECT_EQ(uint32_t(DecodeTextIndex("99999999999", kPlyUint32)), UINT32_MAX);
    EXPECT_EQ(DecodeTextIndex("1e20", kPlyFloat32), INT32_MAX);
    EXPECT_EQ(DecodeTextIndex("-1e20", kPlyFloat64), INT32_MIN);
    EXPECT_EQ(TruncateToInt32(std::nan("")), 0);
}

TEST(TextToInt, SkipsLeadingWhiteSpaceLikeAtoi) {
    const std::string text = " \t-42x";
    EXPECT_EQ(TextToInt32(text.data(), text.data() + text.size()), -42);
    const std::string big = "2147483647";
    EXPECT_EQ(TextToInt32(big.data(), big.data() + big.size()), INT32_MAX);
    const std::string min = "-2147483648";
    EXPECT_EQ(TextToInt32(min.data(), min.data() + min.size()), INT32_MIN);
}

TEST(TextToDouble, DecimalGrammarOnly) {
    EXPECT_EQ(ToDouble("inf"), 0.0);
    EXPECT_EQ(ToDouble("nan"), 0.0);
    EXPECT_EQ(ToDouble("0x10"), 0.0);  // stops at the x
    EXPECT_EQ(ToDouble("."), 0.0);
    EXPECT_EQ(ToDouble("e5"), 0.0);
    EXPECT_EQ(ToDouble("1e"), 1.0);
    EXPECT_EQ(ToDouble("1e+"), 1.0);
    EXPECT_EQ(ToDouble("-.5"), -0.5);
    EXPECT_EQ(ToDouble("5."), 5.0);
    EXPECT_TRUE(std::signbit(ToDouble("-0")));
    EXPECT_EQ(ToDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(ToDouble("-1e400"), -HUGE_VAL);
    EXPECT_EQ(ToDouble("1e-400"), 0.0);
}

// Every conversion must give strtod's double bit for bit ("C" locale).
TEST(TextToDouble, MatchesStrtodOnHardCases) {
    const char* cases[] = {
        "0.1",
        "1e-7",
        "+.5e-3",
        "123456789012345678901234567890",
        "2.2250738585072014e-308",
        "4.9e-324",
        "2.4703282292062327e-324",
        "1.7976931348623157e308",
        "9007199254740993",
        "0.000000000000000000000000000000000001",
        "000000000000000000000000001.5",
        "3.14159265358979323846264338327950288419716939937510",
        "1e22",
        "1e23",
        "123.456e-5",
        "8.589973e9",
        "9.999999999999999e22",
        "1.00000005960464477539062499",
        "0.3",
        "12345678901234567890e-30",
        "7.038531e-26",
        "1e-45",
        "3.4028235e38",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(BitsOf(ToDouble(text)), BitsOf(std::strtod(text, nullptr)));
        const float asFloat = DecodeText(text, kPlyFloat32);
        EXPECT_EQ(asFloat, float(std::strtod(text, nullptr)));
    }
}

TEST(TextToDouble, MatchesStrtodOnRandomDecimals) {
    std::mt19937 random(12345);
    auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += char('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        if (random() % 4 == 0) text += (random() % 2) ? '-' : '+';
        text += digits(int(random() % 12));
        if (random() % 3 != 0) text += '.' + digits(int(random() % 22));
        if (random() % 3 == 0) {
            text += (random() % 2) ? 'e' : 'E';
            if (random() % 2) text += (random() % 2) ? '-' : '+';
            text += std::to_string(random() % 340);
        }
        const double expected = std::strtod(text.c_str(), nullptr);
        const double actual = ToDouble(text);
        if (BitsOf(expected) != BitsOf(actual)) {
            ADD_FAILURE() << text << ": " << actual << " != " << expected;
            break;
        }
    }
}

// The record readers parse in place, loading whole words past the number's
// end: whatever follows the text, even more digits, must not change a value.
TEST(InPlaceScans, WordLoadsNeverReadPastTheEnd) {
    std::mt19937 random(777);
    const char* samples[] = {"0",
                             "7",
                             "-3",
                             "+12",
                             "123456",
                             "1234567",
                             "12345678",
                             "123456789",
                             "4294967295",
                             "99999999999",
                             "0.5",
                             "-0.00499167",
                             "3.14159265358979",
                             "1234567.1234567812345678",
                             "1234567.12345678",
                             "9999999.999999999",
                             "-0",
                             ".25",
                             "5.",
                             "1e5",
                             "2.5E-3",
                             "-",
                             ".",
                             "",
                             "12ab",
                             "0.000000000000000001",
                             "00000000000000000000123.5"};
    for (const char* sample : samples) {
        const std::string text = sample;
        for (const char* tail : {"", " ", "5 ", "9999999999999999", "\n1.5", "e9", ".5"}) {
            SCOPED_TRACE(text + "|" + tail);
            std::string buffer = text + tail + std::string(kInlineScanReach, '7');
            const char* begin = buffer.data();
            const char* end = begin + text.size();
            const char* readable = buffer.data() + buffer.size();

            double expected = std::strtod(std::string(text).c_str(), nullptr);
            double value = -1;
            ScanDouble(begin, end, readable, &value);
            EXPECT_EQ(BitsOf(value), BitsOf(expected));
            EXPECT_EQ(BitsOf(value), BitsOf(TextToDouble(begin, end)));

            int32_t signedValue = -1;
            ScanInt32(begin, end, readable, &signedValue);
            EXPECT_EQ(signedValue, TextToInt32(begin, end));
            uint32_t unsignedValue = 1;
            ScanUint32(begin, end, readable, &unsignedValue);
            EXPECT_EQ(unsignedValue, TextToUint32(begin, end));
        }
    }
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        if (random() % 3 == 0) text += '-';
        for (int d = int(random() % 10); d > 0; --d) text += char('0' + random() % 10);
        if (random() % 2) {
            text += '.';
            for (int d = int(random() % 19); d > 0; --d) text += char('0' + random() % 10);
        }
        std::string buffer = text + std::string(kInlineScanReach, char('0' + random() % 10));
        const char* end = buffer.data() + text.size();
        double value;
        ScanDouble(buffer.data(), end, buffer.data() + buffer.size(), &value);
        const double expected = std::strtod(text.c_str(), nullptr);
        if (BitsOf(value) != BitsOf(expected)) {
            ADD_FAILURE() << text << ": " << value << " != " << expected;
            break;
        }
        int32_t integer;
        ScanInt32(buffer.data(), end, buffer.data() + buffer.size(), &integer);
        if (integer != TextToInt32(text.data(), text.data() + text.size())) {
            ADD_FAILURE() << text << ": " << integer;
            break;
        }
    }
}

TEST(TextToDouble, IgnoresTheProcessLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const char* set = nullptr;
    for (const char* name : names) {
        set = std::setlocale(LC_NUMERIC, name);
        if (set) break;
    }
    if (!set) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const float value = DecodeText("1.5", kPlyFloat32);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(value, 1.5f);
}

TEST(BinaryValues, Float32InBothByteOrders) {
    const unsigned char little[] = {0x00, 0x00, 0x80, 0x3F};
    const unsigned char big[] = {0x3F, 0x80, 0x00, 0x00};
    EXPECT_EQ(BinaryToFloat(little, kPlyFloat32, false), 1.0f);
    EXPECT_EQ(BinaryToFloat(big, kPlyFloat32, true), 1.0f);
}

TEST(BinaryValues, IntegersAndDoubles) {
    const unsigned char one64[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(BinaryToFloat(one64, kPlyFloat64, false), 1.0f);
    const unsigned char ff[] = {0xFF};
    EXPECT_EQ(BinaryToFloat(ff, kPlyInt8, false), -1.0f);
    EXPECT_EQ(BinaryToFloat(ff, kPlyUint8, false), 255.0f);
    const unsigned char c8[] = {0xC8};
    EXPECT_EQ(BinaryToIndex(c8, kPlyUint8, false), 200);
    const unsigned char fffe[] = {0xFF, 0xFE};
    EXPECT_EQ(BinaryToIndex(fffe, kPlyInt16, true), -2);
    const unsigned char feff[] = {0xFE, 0xFF};
    EXPECT_EQ(BinaryToIndex(feff, kPlyUint16, false), 65534);
    const unsigned char minusTwoAndHalf[] = {0, 0, 0x20, 0xC0};  // -2.5f
    EXPECT_EQ(BinaryToIndex(minusTwoAndHalf, kPlyFloat32, false), -2);
}

// ReadBinary and ReadBinaryIndex on a reader: one value each, in the file's
// byte order, and nothing consumed for a type outside the table.
TEST(ReadBinary, ReadsValuesInTheFileByteOrder) {
    for (PlyFormat format : {kPlyBinaryBigEndian, kPlyBinaryLittleEndian}) {
        SCOPED_TRACE(FormatName(format));
        TestElement element{
            "vertex", {"float x", "double y", "short z", "uint w"}, {{1.0, 1.0, -2, 4000000000.0}}};
        ReaderOn file(MakePly(format, {element}));
        ASSERT_TRUE(file.opened);
        float value = 0;
        int32_t index = 0;
        ASSERT_TRUE(file.reader.ReadBinary(kPlyFloat32, &value));
        EXPECT_EQ(value, 1.0f);
        const uint64_t before = file.reader.Offset();
        EXPECT_FALSE(file.reader.ReadBinary(kPlyInvalid, &value));
        EXPECT_EQ(file.reader.ErrorText(), "unknown data type");
        EXPECT_EQ(file.reader.Offset(), before);
        EXPECT_EQ(value, 1.0f);
        ASSERT_TRUE(file.reader.ReadBinary(kPlyFloat64, &value));
        EXPECT_EQ(value, 1.0f);
        ASSERT_TRUE(file.reader.ReadBinaryIndex(kPlyInt16, &index));
        EXPECT_EQ(index, -2);
        ASSERT_TRUE(file.reader.ReadBinaryIndex(kPlyUint32, &index));
        EXPECT_EQ(uint32_t(index), 4000000000u);
        EXPECT_FALSE(file.reader.ReadBinaryIndex(kPlyInt8, &index));
        EXPECT_EQ(file.reader.ErrorText(), "file read error");
    }
}
