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

}  // namespace quorvel
