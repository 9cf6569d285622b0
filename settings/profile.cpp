#include "settings/profile.h"

#include <cstdint>

namespace quorvel {

int profile_int(const std::optional<std::string>& value, int default_value) {
    if (!value) return default_value;
    const std::string& text = *value;
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    if (i == text.size()) return default_value;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    std::uint32_t total = 0;  // unsigned, so that overflow wraps instead of being undefined
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        total = total * 10 + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) total = 0u - total;
    return static_cast<std::int32_t>(total);
}

}  // namespace quorvel
