// Texts as the system holds them: UTF-16 code units, exactly. A service's
// name, its key and its values are addressed and kept in this form; the
// code page 932 texts the user reads are made from it (code_page.h), never
// the other way round, since that conversion loses characters ("Café" and
// "Cafe" both become "Cafe").
#pragma once

#include <string>
#include <vector>

namespace quorvel {

using WideText = std::u16string;

// An ASCII text as a wide one ("Description", key paths of our own).
WideText widen_ascii(const std::string& ascii);

// True when every unit is ASCII; such a text converts without loss.
bool is_ascii(const WideText& text);

// The registry's bytes of a wide text: each unit least significant byte
// first, no terminator added.
std::string utf16le_bytes(const WideText& text);

// The units of UTF-16LE bytes; an odd last byte is left out.
WideText from_utf16le(const std::string& bytes);

// A wide registry text's units up to its first zero unit.
WideText wide_text_before_zero(const std::string& bytes);

// "a\0b\0\0" of UTF-16LE bytes → {"a", "b"}: the texts up to the first
// empty one; a list without its final zeros is read whole.
std::vector<WideText> split_wide_multi_string(const std::string& bytes);

// Names as the Service Control Manager and the registry compare them:
// ASCII letters without regard to case, every other unit exactly.
bool same_wide_name(const WideText& first, const WideText& second);

}  // namespace quorvel
