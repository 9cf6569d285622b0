#include "text/byte_codes.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(HexDigit, BothLetterCasesAndNothingElse) {
    const std::string digits = "0123456789abcdefABCDEF";
    for (std::size_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(hex_digit(digits[i]), static_cast<int>(i < 16 ? i : i - 6)) << digits[i];
    for (char other : {'g', 'G', '/', ':', '@', '`', ' ', '\0', '\xA0'})
        EXPECT_EQ(hex_digit(other), -1) << static_cast<int>(other);
}

TEST(HexDigit, EveryValueInTheCaseAskedForReadsBack) {
    for (unsigned value = 0; value < 16; ++value) {
        const char lower = hex_digit_for(value, HexCase::lower);
        const char upper = hex_digit_for(value, HexCase::upper);
        EXPECT_EQ(hex_digit(lower), static_cast<int>(value));
        EXPECT_EQ(hex_digit(upper), static_cast<int>(value));
        EXPECT_EQ(lower == upper, value < 10) << value;
        if (value >= 10) {
            EXPECT_TRUE(lower >= 'a' && lower <= 'f') << lower;
            EXPECT_TRUE(upper >= 'A' && upper <= 'F') << upper;
        }
    }
    EXPECT_EQ(hex_digit_for(0x2C, HexCase::lower), 'c');  // the low four bits only
}

TEST(PercentCode, TwoUpperCaseDigits) {
    EXPECT_EQ(percent_code(0x00), "%00");
    EXPECT_EQ(percent_code(','), "%2C");
    EXPECT_EQ(percent_code(0xFF), "%FF");
}

TEST(LittleEndian, LeastSignificantByteFirst) {
    const std::string bytes("\x01\x02\x03\x04\xFF\xFE", 6);
    EXPECT_EQ(dword_at(bytes, 0), 0x04030201u);
    EXPECT_EQ(dword_at(bytes, 2), 0xFEFF0403u);  // bytes are unsigned
    EXPECT_EQ(little_endian_at(bytes, 4, 2), 0xFEFFu);
    EXPECT_EQ(little_endian_at(bytes, 0, 1), 0x01u);
}

TEST(MultiString, SplitsUpToTheFirstEmptyTextAndJoinsBack) {
    using List = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        List items;
    } cases[] = {
        {"two texts", std::string("a\0bc\0\0", 6), {"a", "bc"}},
        {"no final zeros", std::string("a\0bc", 4), {"a", "bc"}},
        {"one final zero", std::string("a\0", 2), {"a"}},
        {"stops at an empty text", std::string("a\0\0b\0\0", 6), {"a"}},
        {"empty list", std::string("\0", 1), {}},
        {"no bytes", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split_multi_string(c.bytes), c.items);
        EXPECT_EQ(split_multi_string(join_multi_string(c.items)), c.items);
    }
    EXPECT_EQ(join_multi_string(List{"a", "bc"}), std::string("a\0bc\0\0", 6));
    EXPECT_EQ(join_multi_string(List{}), std::string("\0", 1));
}

}  // namespace
}  // namespace quorvel
