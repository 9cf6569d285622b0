// Changing one setting of a service through the Service Control Manager's
// own calls, so that it takes effect at once.
#include <windows.h>

#include "catalogue/security_descriptor.h"
#include "catalogue/service_manager_win32.h"
#include "platform/system_library_win32.h"
#include "text/byte_codes.h"
#include "text/wide_text_win32.h"

namespace quorvel {
namespace {

using ChangeConfig2 = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPVOID);

// Null when the text is not to change. The path, account, type, start type
// and display name are never changed: the creation set them from the record.
struct ConfigChange {
    DWORD error_control = SERVICE_NO_CHANGE;
    const wchar_t* load_order_group = nullptr;
    const wchar_t* dependencies = nullptr;
};

// The wide call: the ANSI one stores only the first name of a list on some
// platforms (Wine), and only the wide one keeps every name exactly.
bool change_config(SC_HANDLE service, const ConfigChange& change) {
    return ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                change.error_control, nullptr, change.load_order_group, nullptr,
                                change.dependencies, nullptr, nullptr, nullptr) != 0;
}

bool change_config_field(SC_HANDLE service, const ServiceSetting& setting) {
    ConfigChange change;
    const WideText list = join_multi_string(setting.list);
    switch (setting.kind) {
    case SettingKind::error_control: change.error_control = setting.number; break;
    case SettingKind::load_order_group: change.load_order_group = wide(setting.text); break;
    case SettingKind::dependencies: change.dependencies = wide(list); break;
    default: return false;
    }
    return change_config(service, change);
}

// Not in every system of the family (NT 4 lacks it), so it is looked up.
bool change_config2(SC_HANDLE service, DWORD level, void* info) {
    const auto change = library_function<ChangeConfig2>(GetModuleHandleA("advapi32.dll"),
                                                        "ChangeServiceConfig2W");
    return change != nullptr && change(service, level, info) != 0;
}

bool change_failure_actions(SC_HANDLE service, ServiceSetting setting) {
    std::vector<SC_ACTION> actions;
    for (const FailureAction& action : setting.actions)
        actions.push_back({static_cast<SC_ACTION_TYPE>(action.type), action.delay_ms});
    SERVICE_FAILURE_ACTIONSW info{};
    info.dwResetPeriod = setting.number;
    info.lpRebootMsg = setting.has_reboot_message ? writable(setting.reboot_message) : nullptr;
    info.lpCommand = setting.has_command ? writable(setting.text) : nullptr;
    info.cActions = static_cast<DWORD>(actions.size());
    info.lpsaActions = actions.empty() ? nullptr : actions.data();
    return change_config2(service, SERVICE_CONFIG_FAILURE_ACTIONS, &info);
}

// The levels whose whole content is one number.
bool change_number(SC_HANDLE service, DWORD level, DWORD number) {
    DWORD info = number;
    return change_config2(service, level, &info);
}

// The descriptor comes from a file: only one that the core found well
// formed gets here, and the platform checks a copy once more, its length
// within the bytes, before the manager sees it.
bool change_security(SC_HANDLE service, const std::string& bytes) {
    if (bytes.size() < SECURITY_DESCRIPTOR_MIN_LENGTH ||
        !is_well_formed_security_descriptor(bytes))
        return false;
    std::string copy = bytes;
    const auto sd = reinterpret_cast<PSECURITY_DESCRIPTOR>(&copy[0]);
    return IsValidSecurityDescriptor(sd) && GetSecurityDescriptorLength(sd) <= copy.size() &&
           SetServiceObjectSecurity(service,
                                    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                        DACL_SECURITY_INFORMATION,
                                    sd) != 0;
}

}  // namespace

bool Win32ServiceManager::change_setting(const WideText& name, const ServiceSetting& setting) {
    const ScHandle opened =
        open(name, setting.kind == SettingKind::security ? SERVICE_CHANGE_SECURITY
                                                         : SERVICE_CHANGE_CONFIG);
    if (!opened) return false;
    const SC_HANDLE service = opened.get();
    switch (setting.kind) {
    case SettingKind::description: {
        WideText text = setting.text;
        SERVICE_DESCRIPTIONW info{writable(text)};
        return change_config2(service, SERVICE_CONFIG_DESCRIPTION, &info);
    }
    case SettingKind::failure_actions:
        return change_failure_actions(service, setting);
    case SettingKind::failure_actions_flag:
        return change_number(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, setting.number);
    case SettingKind::delayed_auto_start:
        return change_number(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, setting.number);
    case SettingKind::service_sid_type:
        return change_number(service, SERVICE_CONFIG_SERVICE_SID_INFO, setting.number);
    case SettingKind::preshutdown_timeout:
        return change_number(service, SERVICE_CONFIG_PRESHUTDOWN_INFO, setting.number);
    case SettingKind::required_privileges: {
        WideText list = join_multi_string(setting.list);
        SERVICE_REQUIRED_PRIVILEGES_INFOW info{writable(list)};
        return change_config2(service, SERVICE_CONFIG_REQUIRED_PRIVILEGES_INFO, &info);
    }
    case SettingKind::security:
        return change_security(service, setting.bytes);
    default:
        return change_config_field(service, setting);
    }
}

}  // namespace quorvel
