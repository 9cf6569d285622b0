#include "text/text_split.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {
namespace {

using Splitter = const char* (*)(std::string&, const char*, const char*, int);

// Every piece a splitter gives until it returns null.
std::vector<std::string> pieces(Splitter split, const char* text, const char* delimiters,
                                int limit) {
    std::vector<std::string> out;
    std::string piece;
    for (const char* position = text;
         (position = split(piece, position, delimiters, limit)) != nullptr;)
        out.push_back(piece);
    return out;
}

TEST(FindChar, FindsBytesTakenAsUnsigned) {
    const struct {
        const char* text;
        int value;
        int expected;
    } cases[] = {
        {"a,b,c", ',', 1},
        {"abc", 'x', -1},
        {"", ',', -1},
        {"abc", 0, -1},              // the terminator is never found
        {"\x82\xA0", 0x82, 0},       // a high byte matches its unsigned value...
        {"\x82\xA0", -126, -1},      // ...and never a sign-extended one
        {"\r\n", '\n', 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(find_char(c.text, c.value), c.expected);
    }
    EXPECT_EQ(find_char(nullptr, ','), -1);
}

TEST(NextToken, TreatsEachRunOfDelimitersAsOneSeparator) {
    const struct {
        const char* text;
        int limit;
        std::vector<std::string> expected;
    } cases[] = {
        {"\r\n\r\nabc\r\n", 260, {"abc"}},
        {"A\r\n\r\n\r\nB", 260, {"A", "B"}},
        {"abcdef\r\nx", 3, {"abc", "def", "x"}},     // long tokens come in pieces
        {"abc\r\nx", 3, {"abc", "x"}},               // a token of exactly the limit
        {"\r\n\n\r", 260, {}},
        {"", 260, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(pieces(next_token, c.text, "\r\n", c.limit), c.expected);
    }
}

TEST(NextToken, ReturnsTheEndAsAPositionAndThenNull) {
    const char* text = "\r\n\r\nabc\r\n";
    std::string token = "old";
    const char* position = next_token(token, text, "\r\n", 260);
    EXPECT_EQ(token, "abc");
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(*position, '\0');
    EXPECT_EQ(next_token(token, position, "\r\n", 260), nullptr);
    EXPECT_EQ(token, "");
}

TEST(NextToken, NullSourceOrLimitZero) {
    std::string token = "old";
    EXPECT_EQ(next_token(token, nullptr, "\r\n", 260), nullptr);
    EXPECT_EQ(token, "old");
    const char* text = "\r\nabc";
    EXPECT_EQ(next_token(token, text, "\r\n", 0), text + 2);  // after the delimiters
    EXPECT_EQ(token, "");
}

TEST(NextToken, HighBytesNeverMatchADelimiter) {
    // Sign-extended, 0x95 can never equal the delimiter 0x95.
    EXPECT_EQ(pieces(next_token, "a\x95" "b", "\x95", 260),
              std::vector<std::string>{"a\x95" "b"});
}

TEST(SplitAt, EverySeparatorEndsAPieceAndNothingIsLost) {
    using List = std::vector<std::string>;
    const struct {
        std::string text;
        const char* separators;
        List expected;
    } cases[] = {
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b", ""}},  // a last separator leaves an empty last piece
        {",", ",", {"", ""}},
        {"", ",", {""}},
        {"no separator", ",", {"no separator"}},
        {"a\r\nb\rc\n", "\r\n", {"a", "", "b", "c", ""}},
        {std::string("a\0b", 3), ",", {std::string("a\0b", 3)}},  // a zero is a unit too
        {std::string(600, 'x') + ",y", ",", {std::string(600, 'x'), "y"}},  // never cut
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(split_at(c.text, c.separators), c.expected);
    }
    EXPECT_EQ(split_at(std::string("a\0\0b", 4), '\0'), (List{"a", "", "b"}));
    EXPECT_EQ(split_at(std::u16string(u"\u3042\n\u3044"), u'\n'),
              (std::vector<std::u16string>{u"\u3042", u"\u3044"}));
}

}  // namespace
}  // namespace quorvel
