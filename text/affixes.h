// Whether a text begins or ends with another, for byte strings and wide
// texts alike. Byte by byte: no letter case is folded (cp932.h has the
// comparisons that fold it).
#pragma once

#include <string_view>

namespace quorvel {

// The characters of a text of type Text, without a copy: the affix may be
// a string, a string view or a literal.
template <class Text>
using TextView = std::basic_string_view<typename Text::value_type>;

template <class Text>
bool starts_with(const Text& text, TextView<Text> prefix) {
    return TextView<Text>(text).substr(0, prefix.size()) == prefix;
}

template <class Text>
bool ends_with(const Text& text, TextView<Text> suffix) {
    const TextView<Text> whole(text);
    return whole.size() >= suffix.size() &&
           whole.substr(whole.size() - suffix.size()) == suffix;
}

}  // namespace quorvel
