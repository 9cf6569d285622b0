// The system's code page for the unit tests. Code page 932 texts go to
// wide texts and back unchanged (ASCII, half-width katakana and the
// hiragana as the code page has them; other double-byte characters to
// stand-in units of their own), while the few characters below convert by
// best fit as the platform converts them, and every other unit becomes '?'.
#pragma once

#include <map>
#include <string>

#include "text/code_page.h"

namespace quorvel::testing {

// Two service names that the code page shows alike, both as "qvtCafe".
inline const WideText CAFE_ACCENTED = u"qvtCaf\u00e9";
inline const WideText CAFE_PLAIN = u"qvtCafe";

class FakeCodePage : public CodePage {
public:
    [[nodiscard]] std::string to_ansi(const WideText& text) override {
        static const std::map<char16_t, char> BEST_FIT = {
            {u'é', 'e'}, {u'ü', 'u'}, {u'ï', 'i'}, {u'®', 'R'}, {u'©', 'c'}, {u'É', 'E'}};
        std::string out;
        for (const char16_t unit : text) {
            if (unit < 0x80) {
                out += static_cast<char>(unit);
            } else if (unit >= HALF_WIDTH_FIRST && unit <= HALF_WIDTH_LAST) {
                out += static_cast<char>(0xA1 + (unit - HALF_WIDTH_FIRST));
            } else if (unit >= HIRAGANA_FIRST && unit <= HIRAGANA_LAST) {
                add_pair(out, 0x829F + (unit - HIRAGANA_FIRST));
            } else if (unit >= STAND_IN_FIRST && unit <= STAND_IN_LAST) {
                add_pair(out, 0x8100 + (unit - STAND_IN_FIRST));
            } else {
                const auto fit = BEST_FIT.find(unit);
                out += fit != BEST_FIT.end() ? fit->second : '?';
            }
        }
        return out;
    }

    [[nodiscard]] WideText to_wide(const std::string& text) override {
        WideText out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) {
                out += static_cast<char16_t>(byte);
            } else if (byte >= 0xA1 && byte <= 0xDF) {
                out += static_cast<char16_t>(HALF_WIDTH_FIRST + (byte - 0xA1));
            } else if (i + 1 < text.size() && ((byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0)) {
                const unsigned code = byte << 8 | static_cast<unsigned char>(text[++i]);
                out += code >= 0x829F && code <= 0x82F1
                           ? static_cast<char16_t>(HIRAGANA_FIRST + (code - 0x829F))
                           : static_cast<char16_t>(STAND_IN_FIRST + (code - 0x8100));
            } else {
                out += u'\uFFFD';
            }
        }
        return out;
    }

private:
    static void add_pair(std::string& out, unsigned code) {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }

    static constexpr char16_t HIRAGANA_FIRST = u'\u3041';
    static constexpr char16_t HIRAGANA_LAST = u'\u3093';
    static constexpr char16_t HALF_WIDTH_FIRST = u'\uFF61';
    static constexpr char16_t HALF_WIDTH_LAST = u'\uFF9F';
    static constexpr char16_t STAND_IN_FIRST = u'\u4E00';  // 0x8100 and up
    static constexpr char16_t STAND_IN_LAST = u'\u4E00' + (0xFCFF - 0x8100);
};

}  // namespace quorvel::testing
