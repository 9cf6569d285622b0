// text/: rules over bytes and code page 932 texts that every other folder uses.
//
// The code-page toolkit: every rule about the bytes of a code page 932
// (Shift-JIS) text lives here, once, and every module uses it. A text is a
// byte string; a double-byte character is a lead byte and a trail byte.
// Walking a text only needs the lead byte; telling whether a character is
// whole, where a broken one must be caught, needs the trail byte too.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// True for the first byte of a double-byte character (0x81..0x9F,
// 0xE0..0xFC). Enough to step over characters.
bool is_cp932_lead_byte(unsigned char byte);

// True for a byte that can end a double-byte character: 0x40..0xFC
// without 0x7F.
bool is_cp932_trail_byte(unsigned char byte);

// True when text[at] is a lead byte followed by a trail byte: a whole
// double-byte character, which a line of text can carry as it is.
bool is_whole_cp932_char(const std::string& text, std::size_t at);

// The longest prefix of `text` of at most `max_bytes` bytes that does not
// end in the first half of a double-byte character.
std::string cut_cp932(const std::string& text, std::size_t max_bytes);

// 'A'..'Z' as 'a'..'z'; every other byte as it is.
unsigned char ascii_folded(unsigned char byte);

// The order of a header click: bytes compared unsigned with every byte in
// 'A'..'Z' folded to lower case (trail bytes too); negative, 0 or positive.
int compare_text(const char* first, const char* second);

// Names as the Service Control Manager and the registry compare them:
// ASCII letters without regard to case, double-byte characters exactly.
bool same_service_name(const std::string& first, const std::string& second);

// True when `text` begins with `prefix`, every byte compared with 'A'..'Z'
// folded (trail bytes too), as the system-directory test compares paths.
bool starts_with_ignoring_case(const std::string& text, const std::string& prefix);

}  // namespace quorvel
