// catalogue/: the services as read from the platform: rows, labels, manager and registry seams.
//
// The Service Control Manager as the rest of the program sees it: opening
// the manager and services, reading, starting, stopping, deleting and
// creating them. The Win32 implementation lives in
// service_manager_win32.cpp; the unit tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// Access rights and values as the Win32 API defines them.
constexpr std::uint32_t MANAGER_ALL_ACCESS = 0xF003F;
constexpr std::uint32_t MANAGER_CREATE_SERVICE = 0x2;
constexpr std::uint32_t QUERY_CONFIG_ACCESS = 0x1;
constexpr std::uint32_t QUERY_CONFIG_AND_DEPENDENTS_ACCESS = 0x9;
constexpr std::uint32_t SERVICE_FULL_ACCESS = 0xF01FF;
constexpr std::uint32_t TYPE_MASK_SERVICES = 0x30;
constexpr std::uint32_t TYPE_MASK_SERVICES_AND_DRIVERS = 0x3B;
constexpr std::uint32_t STATE_MASK_ALL = 0x3;
constexpr std::uint32_t STATE_STOPPED = 1;
constexpr std::uint32_t STATE_START_PENDING = 2;
constexpr std::uint32_t STATE_RUNNING = 4;

// An answer the platform may be unable to give.
enum class Answer { no, yes, unknown };

// An opaque Service Control Manager handle; 0 is no handle.
using ScHandle = std::uintptr_t;

// One record of the enumeration.
struct EnumRecord {
    std::string service_name;
    std::string display_name;
    std::uint32_t service_type = 0;
    std::uint32_t current_state = 0;
};

// A service's configuration; null texts of the platform arrive as "".
struct ServiceConfig {
    std::uint32_t service_type = 0;
    std::uint32_t start_type = 0;
    std::uint32_t error_control = 0;
    std::string binary_path;
    std::string load_order_group;
    std::uint32_t tag_id = 0;
    std::vector<std::string> dependencies;
    std::string start_name;
    std::string display_name;
};

struct CreateServiceRequest {
    std::string service_name;
    std::string display_name;
    std::uint32_t service_type = 0;
    std::uint32_t start_type = 0;
    std::string binary_path;
    std::string start_name;  // passed as it stands, "" too
};

// A setting of a service beyond its creation arguments, as the manager
// holds it; each kind goes through its own call of the platform.
enum class SettingKind {
    // ChangeServiceConfig, one field at a time (the path, account, type,
    // start type and display name come from the creation alone)
    error_control,
    load_order_group,
    dependencies,  // services, then groups with a leading '+'
    // ChangeServiceConfig2, one level each
    description,
    failure_actions,
    failure_actions_flag,
    delayed_auto_start,
    service_sid_type,
    required_privileges,
    preshutdown_timeout,
    // SetServiceObjectSecurity: owner, group and DACL of a self-relative
    // security descriptor
    security,
};

struct FailureAction {
    std::uint32_t type = 0;  // 0 none, 1 restart, 2 reboot, 3 run command
    std::uint32_t delay_ms = 0;
};

struct ServiceSetting {
    SettingKind kind = SettingKind::description;
    std::uint32_t number = 0;        // numbers, flags; the reset period of failure actions
    std::string text;                // texts; the command of failure actions
    std::vector<std::string> list;   // dependencies, privileges
    std::vector<FailureAction> actions;
    bool has_command = false;        // failure actions: `text` holds the command
    bool has_reboot_message = false;
    std::string reboot_message;
    std::string bytes;               // the security descriptor
};

// The error CreateServiceA gives when a service of that name still exists,
// marked for deletion, because some program holds it open.
constexpr std::uint32_t ERROR_MARKED_FOR_DELETE = 1072;

class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    virtual ScHandle open_manager(std::uint32_t access) = 0;
    // Every record, in the manager's order: the platform hands them out in
    // pieces (one call returns at most 256 KiB on Windows), so calls are
    // made from each piece's resume point until the last piece has come.
    virtual std::vector<EnumRecord> enumerate(ScHandle manager, std::uint32_t type_mask,
                                              std::uint32_t state_mask) = 0;
    virtual ScHandle open_service(ScHandle manager, const std::string& name,
                                  std::uint32_t access) = 0;
    // False when the configuration cannot be read; `config` is then untouched.
    virtual bool query_config(ScHandle service, ServiceConfig& config) = 0;
    // Whether any service, in any state, depends on this one.
    virtual Answer has_dependents(ScHandle service) = 0;
    // False on failure; `state` is then untouched.
    virtual bool query_state(ScHandle service, std::uint32_t& state) = 0;
    virtual bool request_stop(ScHandle service) = 0;
    virtual bool start(ScHandle service) = 0;
    virtual bool remove(ScHandle service) = 0;
    virtual ScHandle create(ScHandle manager, const CreateServiceRequest& request) = 0;
    // The platform's error code of the last failed create.
    virtual std::uint32_t last_create_error() = 0;
    // Changes one setting of an open service; false when refused.
    virtual bool change_setting(ScHandle service, const ServiceSetting& setting) = 0;
    virtual void close(ScHandle handle) = 0;
};

// Owns one handle and closes it when it goes out of scope. Declare the
// manager's handle before the service's: locals die in reverse order, so
// the service handle is closed first, as the platform expects.
class ScopedScHandle {
public:
    ScopedScHandle(ServiceManager& scm, ScHandle handle) : scm_(&scm), handle_(handle) {}
    ScopedScHandle(ScopedScHandle&& other) noexcept
        : scm_(other.scm_), handle_(std::exchange(other.handle_, 0)) {}
    ScopedScHandle& operator=(ScopedScHandle&&) = delete;
    ScopedScHandle(const ScopedScHandle&) = delete;
    ScopedScHandle& operator=(const ScopedScHandle&) = delete;
    ~ScopedScHandle() {
        if (handle_ != 0) scm_->close(handle_);
    }

    ScHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

private:
    ServiceManager* scm_;
    ScHandle handle_;
};

}  // namespace quorvel
