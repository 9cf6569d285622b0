// Registry data as the registry stores it, for the tests' literals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/byte_codes.h"
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

// A list value as the wide calls store it: each text with its zero unit,
// then one more.
inline std::string wide_multi_sz(const std::vector<WideText>& items) {
    return utf16le_bytes(join_multi_string(items));
}

}  // namespace quorvel::testing
