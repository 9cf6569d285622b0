// Byte-level helpers for code page 932 (Shift-JIS) texts.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// True for the first byte of a double-byte character.
bool is_cp932_lead_byte(unsigned char byte);

// The longest prefix of `text` of at most `max_bytes` bytes that does not
// end in the first half of a double-byte character.
std::string cut_cp932(const std::string& text, std::size_t max_bytes);

}  // namespace quorvel
