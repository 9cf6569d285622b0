#include "app/about_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quorvel {
namespace {

std::uint32_t high_low(unsigned high, unsigned low) { return high << 16 | low; }

TEST(VersionText, SecondComponentDotThenThirdAndFourthRunTogether) {
    const struct {
        unsigned a, b, c, d;
        const char* text;
    } cases[] = {
        {0, 0, 0, 6, "0.06"},
        {1, 2, 3, 4, "2.34"},
        {0, 1, 10, 5, "1.105"},
        {7, 0, 0, 0, "0.00"},  // the first component never shows
        {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, "65535.6553565535"},  // unsigned, not -1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(version_text(high_low(c.a, c.b), high_low(c.c, c.d)), c.text);
    }
}

TEST(VersionText, FitsTheDialogBufferForEveryVersion) {
    EXPECT_LT(version_text(0xFFFFFFFFu, 0xFFFFFFFFu).size(),
              static_cast<std::size_t>(VERSION_TEXT_SIZE));
}

TEST(AboutText, FourLinesStartingWithProgramAndVersion) {
    for (const char* version : {"0.06", ""}) {
        SCOPED_TRACE(version);
        const std::string text = about_text(version);
        const std::string first = std::string("quorvel Version ") + version + "\r\n";
        EXPECT_EQ(text.compare(0, first.size(), first), 0) << text;
        std::size_t breaks = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2))
            ++breaks;
        EXPECT_EQ(breaks, 3u);
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no bare LF
        EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    }
}

}  // namespace
}  // namespace quorvel
