// The services' registry keys over advapi32's wide calls: every name and
// value exactly as stored. Any answer the registry does
// not give plainly is `unknown`, never "nothing there".
#pragma once

#include "catalogue/service_registry.h"

namespace quorvel {

class Win32ServiceRegistry : public ServiceRegistry {
public:
    [[nodiscard]] RegistryRead read_value(const WideText& key_path, const WideText& value_name,
                                          std::string& bytes) override;
    [[nodiscard]] RegistryRead list_subkeys(const WideText& key_path,
                                            std::vector<WideText>& names) override;
    [[nodiscard]] RegistryRead list_values(const WideText& key_path,
                                           std::vector<RegistryValue>& values) override;
    [[nodiscard]] bool create_key(const WideText& key_path) override;
    [[nodiscard]] bool write_value(const WideText& key_path, const RegistryValue& value) override;
};

}  // namespace quorvel
