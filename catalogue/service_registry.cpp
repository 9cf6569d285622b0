#include "catalogue/service_registry.h"

namespace quorvel {

WideText service_key_path(const WideText& service_name) {
    return WideText(SERVICES_KEY) + u"\\" + service_name;
}

RegistryRead read_registry_tree(ServiceRegistry& registry, const WideText& key_path,
                                RegistryTree& tree, WideText& unreadable) {
    RegistryKey key{key_path, {}};
    std::vector<WideText> subkeys;
    const RegistryRead values = registry.list_values(key_path, key.values);
    if (values == RegistryRead::found)
        if (registry.list_subkeys(key_path, subkeys) == RegistryRead::found) {
            tree.push_back(std::move(key));
            for (const WideText& subkey : subkeys)
                if (read_registry_tree(registry, key_path + u"\\" + subkey, tree, unreadable) !=
                    RegistryRead::found)
                    return RegistryRead::unknown;  // a subkey gone meanwhile too
            return RegistryRead::found;
        }
    unreadable = key_path;
    return values == RegistryRead::no_key ? RegistryRead::no_key : RegistryRead::unknown;
}

}  // namespace quorvel
