// Byte-level splitters over zero-terminated texts (the list export takes
// the line breaks out of its texts with them), and split_at over whole
// strings of bytes or wide units. They never interpret double-byte
// characters: no trail byte of code page 932 is below 0x40, so none is a
// CR, an LF, a comma or a tab.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// The pieces between the separators: every unit that `separators` (one
// unit, or a zero-terminated set of them) holds ends one piece, so two in
// a row enclose an empty piece, and a text of n separators has n + 1
// pieces ("" is one empty piece). Nothing is cut or skipped.
template <class Text, class Separators>
std::vector<Text> split_at(const Text& text, Separators separators) {
    std::vector<Text> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find_first_of(separators, start);
        pieces.push_back(text.substr(start, end == Text::npos ? Text::npos : end - start));
        if (end == Text::npos) return pieces;
        start = end + 1;
    }
}

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

}  // namespace quorvel
