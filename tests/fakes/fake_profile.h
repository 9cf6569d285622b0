// One INI section in memory: values by key, read with the platform's
// integer rules, and the order in which keys were written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/profile.h"

namespace quorvel::testing {

class FakeProfile : public Profile {
public:
    std::map<std::string, std::string> values;
    std::vector<std::string> written_keys;

    [[nodiscard]] int read_int(const std::string& key, int default_value) override {
        auto found = values.find(key);
        return profile_int(found == values.end() ? std::nullopt
                                                 : std::optional<std::string>(found->second),
                           default_value);
    }

    void write_string(const std::string& key, const std::string& value) override {
        written_keys.push_back(key);
        values[key] = value;
    }
};

}  // namespace quorvel::testing
