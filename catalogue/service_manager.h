// catalogue/: the services as read from the platform: rows, labels, manager and registry seams.
//
// The Service Control Manager as the rest of the program sees it: listing,
// reading, starting, stopping, deleting and creating services. The Win32 implementation lives in
// service_manager_win32.cpp; the unit tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/wide_text.h"

namespace quorvel {

// Access rights and values as the Win32 API defines them.
constexpr std::uint32_t MANAGER_ALL_ACCESS = 0xF003F;
constexpr std::uint32_t MANAGER_CREATE_SERVICE = 0x2;
constexpr std::uint32_t TYPE_MASK_SERVICES = 0x30;
constexpr std::uint32_t TYPE_MASK_SERVICES_AND_DRIVERS = 0x3B;
constexpr std::uint32_t STATE_MASK_ALL = 0x3;
constexpr std::uint32_t STATE_STOPPED = 1;
constexpr std::uint32_t STATE_START_PENDING = 2;
constexpr std::uint32_t STATE_RUNNING = 4;

// An answer the platform may be unable to give.
enum class Answer { no, yes, unknown };

// One record of the enumeration. The exact name is how the system holds
// the service and how every call addresses it; the code page texts are
// what the user reads, converted as the platform's ANSI calls convert
// them (two services can share them: "Café" and "Cafe").
struct EnumRecord {
    WideText exact_name;
    std::string service_name;
    std::string display_name;
    std::uint32_t service_type = 0;
    std::uint32_t current_state = 0;
};

// A service's configuration as code page texts; null texts of the platform
// arrive as "".
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

// The records of one enumeration; not complete when services may be
// missing (the list fell short even when asked again, or the manager
// could not be opened).
struct Enumeration {
    std::vector<EnumRecord> records;
    bool complete = true;
};

// What a service reports about itself right now.
struct ServiceStatus {
    std::uint32_t service_type = 0;
    std::uint32_t current_state = 0;
};

// A creation goes through the wide call, so every text arrives as given.
struct CreateServiceRequest {
    WideText service_name;
    WideText display_name;
    std::uint32_t service_type = 0;
    std::uint32_t start_type = 0;
    WideText binary_path;
    WideText start_name;  // passed as it stands, "" too
};

// How a call on a named service went.
enum class ServiceCall {
    done,
    not_opened,  // the service (or the manager) could not be opened
    failed,      // it was opened, and the call failed
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
    WideText text;                   // texts; the command of failure actions
    std::vector<WideText> list;      // dependencies, privileges
    std::vector<FailureAction> actions;
    bool has_command = false;        // failure actions: `text` holds the command
    bool has_reboot_message = false;
    WideText reboot_message;
    std::string bytes;               // the security descriptor
};

// The error the creation gives when a service of that name still exists,
// marked for deletion, because some program holds it open.
constexpr std::uint32_t ERROR_MARKED_FOR_DELETE = 1072;

// One command's connection to the Service Control Manager, opened when
// first needed and closed with the object. Every call names the service
// by its exact name and opens it for just that call, with the rights the
// call needs, so no handle outlives a call and a look-alike name can
// never be reached.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    // False when the manager cannot be opened; every call then fails.
    [[nodiscard]] virtual bool connected() = 0;
    // Every record, in the manager's order: the platform hands them out in
    // pieces (one call returns at most 256 KiB on Windows), so calls are
    // made from each piece's resume point until the last piece has come.
    [[nodiscard]] virtual Enumeration enumerate(std::uint32_t type_mask,
                                                std::uint32_t state_mask) = 0;
    // `config` is set only when done.
    [[nodiscard]] virtual ServiceCall query_config(const WideText& name, ServiceConfig& config) = 0;
    // Whether any service, in any state, depends on this one.
    [[nodiscard]] virtual Answer has_dependents(const WideText& name) = 0;
    // False on failure; `status` is then untouched.
    [[nodiscard]] virtual bool query_status(const WideText& name, ServiceStatus& status) = 0;
    [[nodiscard]] virtual bool request_stop(const WideText& name) = 0;
    [[nodiscard]] virtual bool start(const WideText& name) = 0;
    [[nodiscard]] virtual bool remove(const WideText& name) = 0;
    // 0 when the service was created, else the platform's error code.
    [[nodiscard]] virtual std::uint32_t create(const CreateServiceRequest& request) = 0;
    // Changes one setting of the service; false when refused.
    [[nodiscard]] virtual bool change_setting(const WideText& name,
                                              const ServiceSetting& setting) = 0;
};

}  // namespace quorvel
