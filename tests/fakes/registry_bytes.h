// Registry data as the registry stores it, for the tests' literals.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel::testing {

// A REG_DWORD's four bytes, least significant first.
inline std::string le32(std::uint32_t n) {
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
    return out;
}

// A text value: the text and its zero byte.
inline std::string sz(const std::string& text) { return text + '\0'; }

}  // namespace quorvel::testing
