#include "text/wide_text.h"

#include "text/byte_codes.h"

namespace quorvel {

namespace {

char16_t ascii_folded_unit(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

}  // namespace

WideText widen_ascii(const std::string& ascii) {
    WideText wide;
    wide.reserve(ascii.size());
    for (const char c : ascii) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
}

bool is_ascii(const WideText& text) {
    for (const char16_t unit : text)
        if (unit >= 0x80) return false;
    return true;
}

std::string utf16le_bytes(const WideText& text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

WideText from_utf16le(const std::string& bytes) {
    WideText text;
    text.reserve(bytes.size() / 2);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
    return text;
}

WideText wide_text_before_zero(const std::string& bytes) {
    const WideText text = from_utf16le(bytes);
    return text.substr(0, text.find(u'\0'));
}

std::vector<WideText> split_wide_multi_string(const std::string& bytes) {
    return split_multi_string(from_utf16le(bytes));
}

bool same_wide_name(const WideText& first, const WideText& second) {
    if (first.size() != second.size()) return false;
    for (std::size_t i = 0; i < first.size(); ++i)
        if (ascii_folded_unit(first[i]) != ascii_folded_unit(second[i])) return false;
    return true;
}

}  // namespace quorvel
