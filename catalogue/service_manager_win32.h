// The Service Control Manager over advapi32: the manager's calls
// (service_manager_win32.cpp) and the changes of one setting of a service
// (service_config_win32.cpp).
#pragma once

#include <windows.h>

#include "catalogue/service_manager.h"

namespace quorvel {

// The platform's handle behind an opaque one, and back.
inline SC_HANDLE sc_handle(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
inline ScHandle opaque_handle(SC_HANDLE handle) { return reinterpret_cast<ScHandle>(handle); }

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

}  // namespace quorvel
