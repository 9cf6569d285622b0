#include "text/cp932.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareText, FoldsAsciiCapitalsOnly) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"abc", "ABC", 0},
        {"Abc", "abd", -1},
        {"apple", "Banana", -1},   // lower case before a later upper-case letter
        {"Zebra", "apple", 1},
        {"abc", "abcd", -1},       // a prefix sorts first
        {"", "a", -1},
        {"", "", 0},
        {"[", "a", -1},            // 0x5B stays below 0x61
        {"_", "a", -1},
        {"開始", "開始中", -1},
        {"", "開始", -1},
        {"\xE0", "\x7F", 1},       // bytes compare unsigned
        {"\x82\x60", "\x82\x81", -1},  // trail bytes are not folded ('`' < 0x81)
        {"\x82\x41", "\x82\x61", 0},   // ...but a trail byte in 'A'..'Z' is
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(sign(compare_text(c.a, c.b)), c.expected);
        EXPECT_EQ(sign(compare_text(c.b, c.a)), -c.expected);
    }
}

TEST(CutCp932, CountsCharactersFromTheStart) {
    // "ｱ" (0xB1) is a single-byte katakana, not a lead byte.
    EXPECT_EQ(cut_cp932("\xB1\xB1\xB1", 2), "\xB1\xB1");
    // A trail byte that looks like a lead byte (0x81 0x81) stays paired.
    EXPECT_EQ(cut_cp932("a\x81\x81\x81\x81", 4), "a\x81\x81");
    EXPECT_EQ(cut_cp932("\x81\x81\x81\x81", 3), "\x81\x81");
    EXPECT_EQ(cut_cp932("abc", 0), "");
    EXPECT_EQ(cut_cp932("abc", 5), "abc");
}

TEST(SameServiceName, ComparesAsciiCaseOnly) {
    EXPECT_TRUE(same_service_name("AppSvc", "appSVC"));
    EXPECT_FALSE(same_service_name("AppSvc", "AppSvc2"));
    // 0x83 0x41 is "ア"; its trail byte is an 'A' that must not be folded.
    EXPECT_TRUE(same_service_name("\x83\x41x", "\x83\x41X"));
    EXPECT_FALSE(same_service_name("\x83\x41", "\x83\x61"));
}

TEST(WholeCp932Char, NeedsALeadByteAndATrailByte) {
    const struct {
        const char* name;
        std::string text;
        bool whole;
    } cases[] = {
        {"hiragana", "\x82\xA0", true},
        {"lowest trail byte", "\x81\x40", true},
        {"highest lead and trail byte", "\xFC\xFC", true},
        {"trail byte 0x7F", "\x81\x7F", false},
        {"trail byte above 0xFC", "\x81\xFD", false},
        {"trail byte below 0x40", "\x81\x3F", false},
        {"lead byte at the end", "\x81", false},
        {"single-byte katakana first", "\xB1\x40", false},
        {"ASCII", "ab", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_whole_cp932_char(c.text, 0), c.whole);
    }
}

TEST(StartsWithIgnoringCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(starts_with_ignoring_case("C:\\WINDOWS\\system32\\a.exe", "c:\\windows\\System32"));
    EXPECT_TRUE(starts_with_ignoring_case("abc", ""));
    EXPECT_FALSE(starts_with_ignoring_case("C:\\Win", "C:\\Windows"));
    EXPECT_TRUE(starts_with_ignoring_case("\x83\x41z", "\x83\x61"));  // byte by byte, as paths are
}

}  // namespace
}  // namespace quorvel
