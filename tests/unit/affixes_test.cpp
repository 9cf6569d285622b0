#include "text/affixes.h"

#include <string>

#include <gtest/gtest.h>

#include "text/wide_text.h"

namespace quorvel {
namespace {

TEST(Affixes, WholeAffixAtTheVeryStartOrEnd) {
    const std::string name = "000001-qvtCafe.reg";
    EXPECT_TRUE(starts_with(name, "000001-"));
    EXPECT_TRUE(ends_with(name, ".reg"));
    EXPECT_TRUE(starts_with(name, name) && ends_with(name, name));
    EXPECT_TRUE(starts_with(name, "") && ends_with(name, ""));
    EXPECT_FALSE(starts_with(name, "00001-"));
    EXPECT_FALSE(ends_with(name, ".REG"));         // no case folding
    EXPECT_FALSE(ends_with(name, ".re"));
    EXPECT_FALSE(starts_with(std::string("ab"), "abc"));  // longer than the text
    EXPECT_FALSE(ends_with(std::string("bc"), "abc"));
    // A zero byte is a byte like any other, in the text and in the affix.
    EXPECT_TRUE(starts_with(std::string("\xFF\xFE\0x", 4), std::string("\xFF\xFE\0", 3)));
    EXPECT_FALSE(starts_with(std::string("\xFF\xFE", 2), std::string("\xFF\xFE\0", 3)));
}

TEST(Affixes, WideTextsCompareUnitByUnit) {
    const WideText line = u"hex(7):41,00";
    EXPECT_TRUE(starts_with(line, u"hex("));
    EXPECT_FALSE(starts_with(line, u"hex:"));
    EXPECT_TRUE(ends_with(line, WideText(u"00")));
    EXPECT_FALSE(starts_with(WideText(u"Caf\u00e9"), u"Cafe"));
}

}  // namespace
}  // namespace quorvel
