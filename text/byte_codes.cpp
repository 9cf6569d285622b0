#include "text/byte_codes.h"

namespace quorvel {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

char hex_digit_for(unsigned value, HexCase letters) {
    static const char DIGITS[] = "0123456789abcdef";
    const char digit = DIGITS[value & 0x0F];
    return letters == HexCase::upper && digit >= 'a' ? static_cast<char>(digit - 'a' + 'A')
                                                     : digit;
}

std::string percent_code(unsigned char byte) {
    return {'%', hex_digit_for(byte >> 4, HexCase::upper), hex_digit_for(byte, HexCase::upper)};
}

std::uint32_t little_endian_at(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t number = 0;
    for (int i = width - 1; i >= 0; --i)
        number = (number << 8) |
                 static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return number;
}

std::uint32_t dword_at(const std::string& bytes, std::size_t at) {
    return little_endian_at(bytes, at, 4);
}

std::string text_before_zero(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::vector<std::string> split_multi_string(const std::string& bytes) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        if (end == start) break;
        items.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::string join_multi_string(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += item + '\0';
    return list + '\0';
}

}  // namespace quorvel
