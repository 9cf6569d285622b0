// One section of an INI file through the platform's private-profile calls.
#pragma once

#include <string>
#include <utility>

#include "settings/profile.h"

namespace quorvel {

class Win32Profile : public Profile {
public:
    Win32Profile(std::string section, std::string path)
        : section_(std::move(section)), path_(std::move(path)) {}
    [[nodiscard]] int read_int(const std::string& key, int default_value) override;
    void write_string(const std::string& key, const std::string& value) override;

private:
    std::string section_;
    std::string path_;
};

}  // namespace quorvel
