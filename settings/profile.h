// One section of an INI file, read and written a key at a time.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

class Profile {
public:
    virtual ~Profile() = default;
    // The key's value as profile_int turns it into an integer;
    // `default_value` when the file, the section or the key is absent.
    [[nodiscard]] virtual int read_int(const std::string& key, int default_value) = 0;
    // Replaces the key's value, or adds the key at the end of the section,
    // creating the file and the section when needed. Failures are ignored.
    virtual void write_string(const std::string& key, const std::string& value) = 0;
};

// The integer a value text begins with: leading blanks skipped, one
// optional sign, then the decimal digits up to the first other byte,
// wrapping modulo 2^32. No digits read as 0, so "abc" gives 0, "120px" 120
// and "0x10" 0. An absent key, and a value that is empty or blank, give
// `default_value`. The platforms' own integer readers differ here (some
// take hexadecimal, some turn negative values into 0), so the program
// reads the text and applies this rule itself.
int profile_int(const std::optional<std::string>& value, int default_value);

}  // namespace quorvel
