// The Service Control Manager over advapi32: the manager's calls
// (service_manager_win32.cpp) and the changes of one setting of a service
// (service_config_win32.cpp).
#pragma once

#include <windows.h>

#include "catalogue/service_manager.h"
#include "platform/unique_handle_win32.h"
#include "text/code_page_win32.h"

namespace quorvel {

// Rights on one service, as the platform defines them.
constexpr DWORD SERVICE_CHANGE_SECURITY = SERVICE_CHANGE_CONFIG | WRITE_DAC | WRITE_OWNER;

// One command's connection, opened with `manager_access` when first needed.
class Win32ServiceManager : public ServiceManager {
public:
    explicit Win32ServiceManager(DWORD manager_access = MANAGER_ALL_ACCESS)
        : access_(manager_access) {}

    [[nodiscard]] bool connected() override;
    [[nodiscard]] Enumeration enumerate(std::uint32_t type_mask, std::uint32_t state_mask) override;
    [[nodiscard]] ServiceCall query_config(const WideText& name, ServiceConfig& config) override;
    [[nodiscard]] Answer has_dependents(const WideText& name) override;
    [[nodiscard]] bool query_status(const WideText& name, ServiceStatus& status) override;
    [[nodiscard]] bool request_stop(const WideText& name) override;
    [[nodiscard]] bool start(const WideText& name) override;
    [[nodiscard]] bool remove(const WideText& name) override;
    [[nodiscard]] std::uint32_t create(const CreateServiceRequest& request) override;
    [[nodiscard]] bool change_setting(const WideText& name, const ServiceSetting& setting) override;

private:
    // The named service opened with `access`; no handle when it cannot be.
    ScHandle open(const WideText& name, DWORD access);

    DWORD access_;
    bool tried_ = false;
    DWORD open_error_ = 0;
    ScHandle manager_;
    Win32CodePage code_page_;
};

}  // namespace quorvel
