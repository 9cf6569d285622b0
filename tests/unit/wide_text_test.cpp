#include "text/wide_text.h"

#include <gtest/gtest.h>

#include "fakes/fake_code_page.h"
#include "text/byte_codes.h"

namespace quorvel {
namespace {

TEST(WideText, Utf16LeBytesRoundTripEveryUnit) {
    const WideText text = u"Caf\u00e9 \u2122\U0001F600\uFFFF";
    const std::string bytes = utf16le_bytes(text);
    ASSERT_EQ(bytes.size(), text.size() * 2);
    EXPECT_EQ(bytes.substr(0, 4), std::string("C\0a\0", 4));
    EXPECT_EQ(bytes.substr(6, 2), std::string("\xE9\x00", 2));
    EXPECT_EQ(from_utf16le(bytes), text);
    // An odd last byte is no unit.
    EXPECT_EQ(from_utf16le(bytes + 'x'), text);
}

TEST(WideText, RegistryTextsAndListsAsStored) {
    EXPECT_EQ(wide_text_before_zero(utf16le_bytes(WideText(u"ab\0cd", 5))), u"ab");
    EXPECT_EQ(wide_text_before_zero(utf16le_bytes(u"abc")), u"abc");
    const std::vector<WideText> list = {u"Tcpip", u"Caf\u00e9", u"+Group"};
    const std::string bytes = utf16le_bytes(join_multi_string(list));
    EXPECT_EQ(bytes, utf16le_bytes(WideText(u"Tcpip\0Caf\u00e9\0+Group\0\0", 19)));
    EXPECT_EQ(split_wide_multi_string(bytes), list);
    EXPECT_EQ(join_multi_string(std::vector<WideText>{}), WideText(1, u'\0'));
    EXPECT_TRUE(split_wide_multi_string(std::string("\0\0", 2)).empty());
    // Without its final zeros a list is still read whole; an empty text ends it.
    EXPECT_EQ(split_wide_multi_string(utf16le_bytes(WideText(u"a\0b", 3))), (std::vector<WideText>{u"a", u"b"}));
    EXPECT_EQ(split_wide_multi_string(utf16le_bytes(WideText(u"a\0\0b\0", 5))),
              std::vector<WideText>{u"a"});
}

TEST(WideText, NamesCompareWithAsciiCaseFoldedOnly) {
    EXPECT_TRUE(same_wide_name(u"qvtCafe", u"QVTCAFE"));
    EXPECT_FALSE(same_wide_name(u"qvtCaf\u00e9", u"qvtCafe"));
    EXPECT_FALSE(same_wide_name(u"qvtCaf\u00e9", u"qvtCaf\u00c9"));
    EXPECT_FALSE(same_wide_name(u"abc", u"abcd"));
    EXPECT_TRUE(is_ascii(widen_ascii("Description")));
    EXPECT_FALSE(is_ascii(u"Caf\u00e9"));
}

TEST(FakeCodePage, ConvertsAsThePlatformsBestFitDoes) {
    testing::FakeCodePage code_page;
    EXPECT_EQ(code_page.to_ansi(u"Intel\u00ae Optane\u2122 M\u00fcller"), "IntelR Optane? Muller");
    EXPECT_EQ(code_page.to_wide(code_page.to_ansi(u"\u3042x")), u"\u3042x");
}

}  // namespace
}  // namespace quorvel
