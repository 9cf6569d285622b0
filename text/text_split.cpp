#include "text/text_split.h"

namespace quorvel {
namespace {

// The source byte goes in sign-extended, so a byte of 0x80 or above never
// matches: every delimiter set in the tool is ASCII, and a lead byte must
// not be taken for one.
bool is_delimiter(const char* delimiters, char byte) {
    return find_char(delimiters, static_cast<signed char>(byte)) >= 0;
}

const char* skip_delimiters(const char* position, const char* delimiters) {
    while (is_delimiter(delimiters, *position)) ++position;
    return position;
}

}  // namespace

int find_char(const char* text, int value) {
    if (text == nullptr) return -1;
    for (int i = 0; text[i] != '\0'; ++i)
        if (static_cast<unsigned char>(text[i]) == value) return i;
    return -1;
}

const char* next_token(std::string& destination, const char* source, const char* delimiters,
                       int limit) {
    if (source == nullptr) return nullptr;
    const char* start = skip_delimiters(source, delimiters);
    if (*start == '\0') {
        destination.clear();
        return nullptr;
    }
    const char* position = start;
    while (position - start < limit && *position != '\0') {
        if (is_delimiter(delimiters, *position)) {
            destination.assign(start, position);
            return skip_delimiters(position, delimiters);
        }
        ++position;
    }
    destination.assign(start, position);
    return position;
}

}  // namespace quorvel
