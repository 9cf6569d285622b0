#include "catalogue/service_registry.h"

namespace quorvel {

std::string service_key_path(const std::string& service_name) {
    return std::string(SERVICES_KEY) + "\\" + service_name;
}

RegistryRead read_registry_tree(ServiceRegistry& registry, const std::string& key_path,
                                RegistryTree& tree) {
    RegistryKey key{key_path, {}};
    std::vector<std::string> subkeys;
    const RegistryRead values = registry.list_values(key_path, key.values);
    if (values == RegistryRead::no_key) return RegistryRead::no_key;
    if (values != RegistryRead::found) return RegistryRead::unknown;
    if (registry.list_subkeys(key_path, subkeys) != RegistryRead::found)
        return RegistryRead::unknown;
    tree.push_back(std::move(key));
    for (const std::string& subkey : subkeys)
        if (read_registry_tree(registry, key_path + "\\" + subkey, tree) != RegistryRead::found)
            return RegistryRead::unknown;
    return RegistryRead::found;
}

}  // namespace quorvel
