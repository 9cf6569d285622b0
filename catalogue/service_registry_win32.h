// The services' registry keys over advapi32. Any answer the registry does
// not give plainly is `unknown`, never "nothing there".
#pragma once

#include "catalogue/service_registry.h"

namespace quorvel {

class Win32ServiceRegistry : public ServiceRegistry {
public:
    RegistryRead read_value(const std::string& key_path, const char* value_name,
                            std::string& bytes) override;
    RegistryRead list_subkeys(const std::string& key_path,
                              std::vector<std::string>& names) override;
    RegistryRead list_values(const std::string& key_path,
                             std::vector<RegistryValue>& values) override;
    bool create_key(const std::string& key_path) override;
    bool write_value(const std::string& key_path, const RegistryValue& value) override;
};

}  // namespace quorvel
