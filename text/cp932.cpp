#include "text/cp932.h"

namespace quorvel {

bool is_cp932_lead_byte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool is_cp932_trail_byte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

bool is_whole_cp932_char(const std::string& text, std::size_t at) {
    return at + 1 < text.size() && is_cp932_lead_byte(static_cast<unsigned char>(text[at])) &&
           is_cp932_trail_byte(static_cast<unsigned char>(text[at + 1]));
}

std::string cut_cp932(const std::string& text, std::size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    std::size_t end = 0;
    while (end < max_bytes) {
        std::size_t width = is_cp932_lead_byte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > max_bytes) break;
        end += width;
    }
    return text.substr(0, end);
}

unsigned char ascii_folded(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

int compare_text(const char* first, const char* second) {
    const auto* a = reinterpret_cast<const unsigned char*>(first);
    const auto* b = reinterpret_cast<const unsigned char*>(second);
    for (;; ++a, ++b) {
        const int difference = ascii_folded(*a) - ascii_folded(*b);
        if (difference != 0 || *a == 0) return difference;
    }
}

bool same_service_name(const std::string& first, const std::string& second) {
    if (first.size() != second.size()) return false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        const auto a = static_cast<unsigned char>(first[i]);
        const auto b = static_cast<unsigned char>(second[i]);
        if (is_cp932_lead_byte(a) && i + 1 < first.size()) {
            if (a != b || first[i + 1] != second[i + 1]) return false;
            ++i;
        } else if (ascii_folded(a) != ascii_folded(b)) {
            return false;
        }
    }
    return true;
}

bool starts_with_ignoring_case(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (ascii_folded(static_cast<unsigned char>(text[i])) !=
            ascii_folded(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace quorvel
