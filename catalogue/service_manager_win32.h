// The Service Control Manager and the services' registry keys over advapi32.
#pragma once

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"

namespace quorvel {

class Win32ServiceManager : public ServiceManager {
public:
    ScHandle open_manager(std::uint32_t access) override;
    std::vector<EnumRecord> enumerate(ScHandle manager, std::uint32_t type_mask,
                                      std::uint32_t state_mask) override;
    ScHandle open_service(ScHandle manager, const std::string& name,
                          std::uint32_t access) override;
    bool query_config(ScHandle service, ServiceConfig& config) override;
    Answer has_dependents(ScHandle service) override;
    bool query_state(ScHandle service, std::uint32_t& state) override;
    bool request_stop(ScHandle service) override;
    bool start(ScHandle service) override;
    bool remove(ScHandle service) override;
    ScHandle create(ScHandle manager, const CreateServiceRequest& request) override;
    std::uint32_t last_create_error() override { return last_create_error_; }
    bool change_setting(ScHandle service, const ServiceSetting& setting) override;
    void close(ScHandle handle) override;

private:
    std::uint32_t last_create_error_ = 0;
};

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
