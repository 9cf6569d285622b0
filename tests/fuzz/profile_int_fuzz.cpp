// profile_int over any value text, against a plain reference: blanks (every
// byte up to the space) skipped, one sign, decimal digits to the first
// other byte, the number taken modulo 2^32. Also: every "%d" text reads
// back as its number, whatever follows it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "settings/profile.h"

namespace {

std::int32_t as_int32(std::uint64_t residue) {
    const std::uint64_t wrapped = residue % 0x100000000ull;
    return wrapped >= 0x80000000ull ? static_cast<std::int32_t>(static_cast<std::int64_t>(wrapped) -
                                                                0x100000000ll)
                                    : static_cast<std::int32_t>(wrapped);
}

bool is_digit(char byte) { return byte >= '0' && byte <= '9'; }

int reference(const std::string& text, int default_value) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    if (i == text.size()) return default_value;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    std::uint64_t residue = 0;  // the value modulo 2^32
    for (; i < text.size() && is_digit(text[i]); ++i)
        residue = (residue * 10 + static_cast<std::uint64_t>(text[i] - '0')) % 0x100000000ull;
    return as_int32(negative ? 0x100000000ull - residue : residue);
}

int read_uint32(const std::uint8_t* data) {
    return static_cast<std::int32_t>(std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                     std::uint32_t{data[2]} << 16 |
                                     std::uint32_t{data[3]} << 24);
}

}  // namespace

// Bytes 0 to 3 are the default value, byte 4 tells an absent key (odd)
// from a present one; the rest is the value text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    const int default_value = read_uint32(data);
    const bool absent = (data[4] & 1) != 0;
    const std::string text(reinterpret_cast<const char*>(data) + 5, size - 5);

    FUZZ_CHECK(quorvel::profile_int(std::nullopt, default_value) == default_value);
    if (!absent) FUZZ_CHECK(quorvel::profile_int(text, default_value) == reference(text, default_value));

    char written[16];
    std::snprintf(written, sizeof written, "%d", default_value);
    FUZZ_CHECK(quorvel::profile_int(std::string(written), 0) == default_value);
    if (text.empty() || !is_digit(text[0]))
        FUZZ_CHECK(quorvel::profile_int(written + text, 0) == default_value);
    return 0;
}
