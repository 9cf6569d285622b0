#include "catalogue/cp932.h"

namespace quorvel {

bool is_cp932_lead_byte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
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

}  // namespace quorvel
