// Registry data as the registry stores it, for the tests' literals.
#pragma once

#include <cstdint>
#include <string>

#include "text/wide_text.h"

namespace quorvel::testing {

// A REG_DWORD's four bytes, least significant first.
inline std::string le32(std::uint32_t n) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
    return out;
}

// A text value: the text and its zero byte.
inline std::string sz(const std::string& text) { return text + '\0'; }

// A text value as the wide calls store it: UTF-16LE with its zero unit.
inline std::string wide_sz(const WideText& text) { return utf16le_bytes(text + u'\0'); }

}  // namespace quorvel::testing
