#include "catalogue/service_registry.h"

namespace quorvel {

std::string service_key_path(const std::string& service_name) {
    return std::string(SERVICES_KEY) + "\\" + service_name;
}

bool read_registry_tree(ServiceRegistry& registry, const std::string& key_path,
                        RegistryTree& tree) {
    RegistryKey key{key_path, {}};
    std::vector<std::string> subkeys;
    if (!registry.list_values(key_path, key.values) || !registry.list_subkeys(key_path, subkeys))
        return false;
    tree.push_back(std::move(key));
    for (const std::string& subkey : subkeys)
        if (!read_registry_tree(registry, key_path + "\\" + subkey, tree)) return false;
    return true;
}

}  // namespace quorvel
