// The services' registry keys under HKEY_LOCAL_MACHINE, read-only.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

class ServiceRegistry {
public:
    virtual ~ServiceRegistry() = default;
    // Reads one value of HKEY_LOCAL_MACHINE\<key_path> whole, whatever its
    // length and type. False when the key cannot be opened; when the key
    // opens but the value is missing, true with `bytes` empty.
    virtual bool read_value(const std::string& key_path, const char* value_name,
                            std::string& bytes) = 0;
    // The names of the key's subkeys; false when the key cannot be opened.
    virtual bool list_subkeys(const std::string& key_path, std::vector<std::string>& names) = 0;
};

}  // namespace quorvel
