#include "operations/service_settings.h"

#include <algorithm>

#include "catalogue/security_descriptor.h"
#include "text/byte_codes.h"
#include "text/cp932.h"

namespace quorvel {

namespace {

const char DEFAULT_VALUE_NAME[] = "(既定)";
const char DIFFERS_FROM_RECORD[] = " (記録と異なるため使いません)";
const char BAD_DESCRIPTOR[] = " (正しいセキュリティ記述子ではありません)";
const char VOLATILE_SUBKEY[] = "Enum";

// The values the creation sets from the record.
const char* const RECORD_VALUES[] = {"Type", "Start", "ImagePath", "ObjectName", "DisplayName"};
const std::uint32_t ERROR_NORMAL = 1;  // what the creation sets
const std::size_t FAILURE_HEADER_BYTES = 20;

const RegistryValue* find_value(const RegistryKey& key, const char* name) {
    for (const RegistryValue& value : key.values)
        if (same_service_name(value.name, name)) return &value;
    return nullptr;
}

bool read_number(const RegistryKey& key, const char* name, std::uint32_t& number) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || value->type != VALUE_DWORD || value->data.size() != 4) return false;
    number = dword_at(value->data, 0);
    return true;
}

bool is_text_type(std::uint32_t type) { return type == VALUE_SZ || type == VALUE_EXPAND_SZ; }

// A text value up to its first zero byte.
bool read_text(const RegistryKey& key, const char* name, std::string& text) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || !is_text_type(value->type)) return false;
    text = text_before_zero(value->data);
    return true;
}

std::vector<std::string> read_list(const RegistryKey& key, const char* name) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || value->type != VALUE_MULTI_SZ) return {};
    return split_multi_string(value->data);
}

ServiceSetting setting(SettingKind kind, std::uint32_t number = 0, const std::string& text = "") {
    ServiceSetting made;
    made.kind = kind;
    made.number = number;
    made.text = text;
    return made;
}

void add_number_if_not(std::vector<ServiceSetting>& out, const RegistryKey& key, const char* name,
                       SettingKind kind, std::uint32_t already) {
    std::uint32_t number = 0;
    if (read_number(key, name, number) && number != already) out.push_back(setting(kind, number));
}

void add_number(std::vector<ServiceSetting>& out, const RegistryKey& key, const char* name,
                SettingKind kind) {
    std::uint32_t number = 0;
    if (read_number(key, name, number)) out.push_back(setting(kind, number));
}

void add_text_if_not(std::vector<ServiceSetting>& out, const RegistryKey& key, const char* name,
                     SettingKind kind, const std::string& already) {
    std::string text;
    if (read_text(key, name, text) && !same_service_name(text, already))
        out.push_back(setting(kind, 0, text));
}

void add_dependencies(std::vector<ServiceSetting>& out, const RegistryKey& key) {
    ServiceSetting dependencies = setting(SettingKind::dependencies);
    dependencies.list = read_list(key, "DependOnService");
    for (const std::string& group : read_list(key, "DependOnGroup"))
        dependencies.list.push_back("+" + group);
    if (!dependencies.list.empty()) out.push_back(dependencies);
}

// The saved form: reset period, two unused fields, the number of actions
// and one more unused field, then type and delay of each action.
void add_failure_actions(std::vector<ServiceSetting>& out, const RegistryKey& key) {
    const RegistryValue* value = find_value(key, "FailureActions");
    if (value == nullptr || value->data.size() < FAILURE_HEADER_BYTES) return;
    const std::string& data = value->data;
    const std::uint32_t count = dword_at(data, 12);
    if (count > (data.size() - FAILURE_HEADER_BYTES) / 8) return;
    ServiceSetting actions = setting(SettingKind::failure_actions, dword_at(data, 0));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = FAILURE_HEADER_BYTES + 8 * i;
        actions.actions.push_back({dword_at(data, at), dword_at(data, at + 4)});
    }
    actions.has_command = read_text(key, "FailureCommand", actions.text);
    actions.has_reboot_message = read_text(key, "RebootMessage", actions.reboot_message);
    out.push_back(actions);
}

bool is_security_key(const RegistryTree& snapshot, const RegistryKey& key) {
    return same_service_name(key.path, snapshot[0].path + "\\Security");
}

void add_security(std::vector<ServiceSetting>& out, const RegistryTree& snapshot) {
    for (const RegistryKey& key : snapshot) {
        const RegistryValue* value = find_value(key, "Security");
        if (is_security_key(snapshot, key) && value != nullptr && value->type == VALUE_BINARY &&
            !value->data.empty()) {
            ServiceSetting security = setting(SettingKind::security);
            security.bytes = value->data;
            out.push_back(security);
        }
    }
}

bool is_record_value(const RegistryValue& value) {
    for (const char* name : RECORD_VALUES)
        if (same_service_name(value.name, name)) return true;
    return false;
}

bool is_number(const RegistryValue& value, std::uint32_t number) {
    return value.type == VALUE_DWORD && value.data.size() == 4 && dword_at(value.data, 0) == number;
}

// Letter case alone changes neither the program, the account nor the name.
bool is_text(const RegistryValue& value, const std::string& text) {
    return is_text_type(value.type) &&
           same_service_name(text_before_zero(value.data), text);
}

bool agrees_with_record(const RegistryValue& value, const CreateServiceRequest& request) {
    if (same_service_name(value.name, "Type")) return is_number(value, request.service_type);
    if (same_service_name(value.name, "Start")) return is_number(value, request.start_type);
    if (same_service_name(value.name, "ImagePath")) return is_text(value, request.binary_path);
    if (same_service_name(value.name, "ObjectName")) return is_text(value, request.start_name);
    return is_text(value, request.display_name);
}

bool is_bad_descriptor(const RegistryValue& value) {
    return same_service_name(value.name, "Security") &&
           (value.type != VALUE_BINARY || !is_well_formed_security_descriptor(value.data));
}

// Takes the values `withheld` says out of the key, naming each with `why`.
template <typename Withheld>
void take_out(RegistryKey& key, const std::string& prefix, const char* why, Withheld withheld,
              std::vector<std::string>& named) {
    std::vector<RegistryValue>& values = key.values;
    for (const RegistryValue& value : values)
        if (withheld(value) && why != nullptr) named.push_back(prefix + value.name + why);
    values.erase(std::remove_if(values.begin(), values.end(), withheld), values.end());
}

std::string relative_name(const std::string& key_path, const std::string& root,
                          const std::string& value_name) {
    std::string name = key_path.size() > root.size() ? key_path.substr(root.size() + 1) : "";
    if (!name.empty()) name += "\\";
    return name + (value_name.empty() ? DEFAULT_VALUE_NAME : value_name);
}

bool holds(const std::vector<RegistryValue>& values, const RegistryValue& wanted) {
    for (const RegistryValue& value : values)
        if (value == wanted) return true;
    return false;
}

}  // namespace

bool snapshot_fits_service(const RegistryTree& snapshot, const std::string& service_name) {
    const std::string root = service_key_path(service_name);
    if (snapshot.empty() || !same_service_name(snapshot[0].path, root)) return false;
    for (const RegistryKey& key : snapshot) {
        const std::string head = key.path.substr(0, root.size() + 1);
        if (key.path != snapshot[0].path &&
            (!same_service_name(head, root + "\\") || key.path.size() == head.size()))
            return false;
    }
    return true;
}

void drop_volatile_entries(RegistryTree& snapshot) {
    if (snapshot.empty()) return;
    std::vector<std::string> unused;
    take_out(snapshot[0], "", nullptr,
             [](const RegistryValue& value) { return same_service_name(value.name, "DeleteFlag"); },
             unused);
    const std::string volatile_key = snapshot[0].path + "\\" + VOLATILE_SUBKEY;
    snapshot.erase(std::remove_if(snapshot.begin() + 1, snapshot.end(),
                                  [&volatile_key](const RegistryKey& key) {
                                      const std::string head =
                                          key.path.substr(0, volatile_key.size());
                                      return same_service_name(head, volatile_key) &&
                                             (key.path.size() == head.size() ||
                                              key.path[head.size()] == '\\');
                                  }),
                   snapshot.end());
}

std::vector<std::string> withhold_values(RegistryTree& snapshot,
                                         const CreateServiceRequest& request) {
    std::vector<std::string> named;
    if (snapshot.empty()) return named;
    take_out(snapshot[0], "", DIFFERS_FROM_RECORD,
             [&request](const RegistryValue& value) {
                 return is_record_value(value) && !agrees_with_record(value, request);
             },
             named);
    take_out(snapshot[0], "", nullptr, is_record_value, named);
    for (RegistryKey& key : snapshot)
        if (is_security_key(snapshot, key))
            take_out(key, "Security\\", BAD_DESCRIPTOR, is_bad_descriptor, named);
    return named;
}

std::vector<ServiceSetting> manager_settings(const RegistryTree& snapshot) {
    std::vector<ServiceSetting> out;
    const RegistryKey& key = snapshot[0];
    add_number_if_not(out, key, "ErrorControl", SettingKind::error_control, ERROR_NORMAL);
    add_text_if_not(out, key, "Group", SettingKind::load_order_group, "");
    add_dependencies(out, key);
    // An expandable description (a resource reference) goes to the
    // registry as it is; the manager would store it as a plain text.
    std::string description;
    if (read_text(key, "Description", description) &&
        find_value(key, "Description")->type == VALUE_SZ)
        out.push_back(setting(SettingKind::description, 0, description));
    add_failure_actions(out, key);
    add_number(out, key, "FailureActionsOnNonCrashFailures", SettingKind::failure_actions_flag);
    add_number(out, key, "DelayedAutostart", SettingKind::delayed_auto_start);
    add_number(out, key, "ServiceSidType", SettingKind::service_sid_type);
    ServiceSetting privileges = setting(SettingKind::required_privileges);
    privileges.list = read_list(key, "RequiredPrivileges");
    if (!privileges.list.empty()) out.push_back(privileges);
    add_number(out, key, "PreshutdownTimeout", SettingKind::preshutdown_timeout);
    add_security(out, snapshot);
    return out;
}

std::vector<std::string> write_snapshot_values(ServiceRegistry& registry,
                                               const RegistryTree& snapshot) {
    std::vector<std::string> failed;
    if (snapshot.empty()) return failed;
    const std::string& root = snapshot[0].path;
    for (const RegistryKey& key : snapshot) {
        std::vector<RegistryValue> current;
        if (!registry.create_key(key.path)) {
            failed.push_back(key.path.size() > root.size() ? key.path.substr(root.size() + 1)
                                                           : key.path);
            continue;
        }
        if (registry.list_values(key.path, current) != RegistryRead::found) current.clear();
        for (const RegistryValue& value : key.values)
            if (!holds(current, value) && !registry.write_value(key.path, value))
                failed.push_back(relative_name(key.path, root, value.name));
    }
    return failed;
}

}  // namespace quorvel
