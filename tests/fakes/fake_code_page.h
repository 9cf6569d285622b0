// The system's code page for the unit tests: ASCII and the hiragana as
// code page 932 has them, a few best-fit choices as the platform makes
// them, '?' for everything else.
#pragma once

#include <map>
#include <string>

#include "text/code_page.h"

namespace quorvel::testing {

class FakeCodePage : public CodePage {
public:
    std::string to_ansi(const WideText& text) override {
        static const std::map<char16_t, char> BEST_FIT = {
            {u'é', 'e'}, {u'ü', 'u'}, {u'ï', 'i'}, {u'®', 'R'}, {u'©', 'c'}, {u'É', 'E'}};
        std::string out;
        for (const char16_t unit : text) {
            if (unit < 0x80) {
                out += static_cast<char>(unit);
            } else if (unit >= HIRAGANA_FIRST && unit <= HIRAGANA_LAST) {
                const unsigned code = 0x829F + (unit - HIRAGANA_FIRST);
                out += static_cast<char>(code >> 8);
                out += static_cast<char>(code & 0xFF);
            } else {
                const auto fit = BEST_FIT.find(unit);
                out += fit != BEST_FIT.end() ? fit->second : '?';
            }
        }
        return out;
    }

    WideText to_wide(const std::string& text) override {
        WideText out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) {
                out += static_cast<char16_t>(byte);
            } else if (byte == 0x82 && i + 1 < text.size()) {
                const auto trail = static_cast<unsigned char>(text[++i]);
                out += trail >= 0x9F && trail <= 0xF1
                           ? static_cast<char16_t>(HIRAGANA_FIRST + (trail - 0x9F))
                           : u'\uFFFD';
            } else {
                out += u'\uFFFD';
            }
        }
        return out;
    }

private:
    static constexpr char16_t HIRAGANA_FIRST = u'\u3041';
    static constexpr char16_t HIRAGANA_LAST = u'\u3093';
};

}  // namespace quorvel::testing
