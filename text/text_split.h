// Byte-level splitters over zero-terminated texts (the list export takes
// the line breaks out of its texts with them). They never interpret
// double-byte characters: no trail byte of code page 932 is below 0x40, so
// none is a CR, an LF, a comma or a tab.
#pragma once

#include <string>

namespace quorvel {

// The 0-based position of the first byte of `text` that, taken as unsigned,
// equals `value`; -1 when there is none, when `text` is null or when `value`
// is 0 (the terminator is never found).
int find_char(const char* text, int value);

// Cuts the next token out of `source`, where every run of bytes from
// `delimiters` is one separator, and returns where the next call goes on.
// Null when `source` is null (destination untouched) or when only
// delimiters are left (destination emptied). A token longer than `limit`
// comes back in pieces of `limit` bytes; after a delimiter the whole run is
// skipped, so the end of the text can come back as a valid position.
const char* next_token(std::string& destination, const char* source, const char* delimiters,
                       int limit);

// Cuts the next field out of `source`, where each single delimiter byte
// ends one field, so two in a row enclose an empty field. Null, with the
// destination untouched, when `source` is null or already at its end; an
// empty last field is therefore reported like a missing one. A field longer
// than `limit` comes back in pieces of `limit` bytes.
const char* next_field(std::string& destination, const char* source, const char* delimiters,
                       int limit);

}  // namespace quorvel
