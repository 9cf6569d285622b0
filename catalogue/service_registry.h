// The services' registry keys under HKEY_LOCAL_MACHINE: reading single
// values, and reading and writing whole keys for the snapshot of a deleted
// service.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/wide_text.h"

namespace quorvel {

// Value types as the registry numbers them.
constexpr std::uint32_t VALUE_NONE = 0;
constexpr std::uint32_t VALUE_SZ = 1;
constexpr std::uint32_t VALUE_EXPAND_SZ = 2;
constexpr std::uint32_t VALUE_BINARY = 3;
constexpr std::uint32_t VALUE_DWORD = 4;
constexpr std::uint32_t VALUE_MULTI_SZ = 7;
constexpr std::uint32_t VALUE_QWORD = 11;

// One value with its data exactly as stored (texts as UTF-16LE bytes with
// their zeros). The empty name is the key's default value.
struct RegistryValue {
    WideText name;
    std::uint32_t type = VALUE_NONE;
    std::string data;
};

inline bool operator==(const RegistryValue& a, const RegistryValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

// One key, by its path below HKEY_LOCAL_MACHINE, with all its values.
struct RegistryKey {
    WideText path;
    std::vector<RegistryValue> values;
};

inline bool operator==(const RegistryKey& a, const RegistryKey& b) {
    return a.path == b.path && a.values == b.values;
}

// A key and everything below it, each parent before its subkeys.
using RegistryTree = std::vector<RegistryKey>;

// The services' keys below HKEY_LOCAL_MACHINE, and one service's key.
constexpr const char16_t* SERVICES_KEY = u"SYSTEM\\CurrentControlSet\\Services";
WideText service_key_path(const WideText& service_name);

// What a read of the registry found out.
enum class RegistryRead {
    found,     // the data asked for is there
    no_key,    // the key does not exist
    no_value,  // the key exists without that value (single values only)
    unknown,   // it could not be read: the answer is not known
};

class ServiceRegistry {
public:
    virtual ~ServiceRegistry() = default;
    // Reads one value of HKEY_LOCAL_MACHINE\<key_path> whole, whatever its
    // length and type. `bytes` is set only when it was found.
    [[nodiscard]] virtual RegistryRead read_value(const WideText& key_path,
                                                  const WideText& value_name,
                                                  std::string& bytes) = 0;
    // The names of the key's subkeys, every one of them or `unknown`.
    [[nodiscard]] virtual RegistryRead list_subkeys(const WideText& key_path,
                                                    std::vector<WideText>& names) = 0;
    // Every value of the key, whole, or `unknown`.
    [[nodiscard]] virtual RegistryRead list_values(const WideText& key_path,
                                                   std::vector<RegistryValue>& values) = 0;
    // Creates the key and any missing parent; true when it exists afterwards.
    [[nodiscard]] virtual bool create_key(const WideText& key_path) = 0;
    // Sets the value in an existing key.
    [[nodiscard]] virtual bool write_value(const WideText& key_path,
                                           const RegistryValue& value) = 0;
};

// Reads the key at `key_path` and every key below it into `tree`, parents
// first. `no_key` when the key itself does not exist; `unknown` when any of
// them cannot be read whole (a subkey that vanishes meanwhile too); `tree`
// is then unspecified and `unreadable` is the path of the key that could
// not be read.
[[nodiscard]] RegistryRead read_registry_tree(ServiceRegistry& registry, const WideText& key_path,
                                              RegistryTree& tree, WideText& unreadable);

}  // namespace quorvel
