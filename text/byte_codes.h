// Numbers and lists carried inside byte strings: hex digits and %XX codes,
// little-endian numbers, and the registry's lists of zero-terminated texts.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/text_split.h"

namespace quorvel {

// The value of a hex digit in either letter case; -1 for any other byte.
int hex_digit(char c);

enum class HexCase { lower, upper };

// The hex digit of the low four bits of `value`, its letters in the case
// asked for: .reg files write "2c", %XX codes "%2C".
char hex_digit_for(unsigned value, HexCase letters);

// The byte as '%' and two upper-case hex digits ("%2C").
std::string percent_code(unsigned char byte);

// The little-endian number of `width` (at most 4) bytes at `at`, which
// lie inside `bytes`.
std::uint32_t little_endian_at(const std::string& bytes, std::size_t at, int width);

// The same for a DWORD, the registry's 4-byte number.
std::uint32_t dword_at(const std::string& bytes, std::size_t at);

// The registry's lists of texts, each ending in a zero and the list in one
// more, over bytes or wide units (wide_text.h has them as UTF-16LE bytes).
// "a\0b\0\0" → {"a", "b"}: the texts up to the first empty one; a list
// without its final zeros is read whole.
template <class Text>
std::vector<Text> split_multi_string(const Text& list) {
    std::vector<Text> items = split_at(list, typename Text::value_type());
    items.erase(std::find(items.begin(), items.end(), Text()), items.end());
    return items;
}

// {"a", "b"} → "a\0b\0\0"; no texts → a single zero.
template <class Text>
Text join_multi_string(const std::vector<Text>& items) {
    Text list;
    for (const Text& item : items) {
        list += item;
        list += typename Text::value_type();
    }
    list += typename Text::value_type();
    return list;
}

}  // namespace quorvel
