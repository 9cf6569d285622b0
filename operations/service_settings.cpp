#include "operations/service_settings.h"

#include <algorithm>

#include "catalogue/security_descriptor.h"
#include "catalogue/service_row.h"
#include "text/byte_codes.h"
#include "text/cp932.h"
#include "text/user_texts.h"

namespace quorvel {

namespace {

const char16_t VOLATILE_SUBKEY[] = u"Enum";
const char16_t DELETE_MARK[] = u"DeleteFlag";

// The values the creation sets from the record.
const char16_t* const RECORD_VALUES[] = {u"Type", u"Start", u"ImagePath", u"ObjectName",
                                         u"DisplayName"};
const std::uint32_t ERROR_NORMAL = 1;  // what the creation sets
const std::size_t FAILURE_HEADER_BYTES = 20;

bool named(const RegistryValue& value, const char16_t* name) {
    return same_wide_name(value.name, name);
}

const RegistryValue* find_value(const RegistryKey& key, const char16_t* name) {
    for (const RegistryValue& value : key.values)
        if (named(value, name)) return &value;
    return nullptr;
}

bool read_number(const RegistryKey& key, const char16_t* name, std::uint32_t& number) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || value->type != VALUE_DWORD || value->data.size() != 4) return false;
    number = dword_at(value->data, 0);
    return true;
}

bool is_text_type(std::uint32_t type) { return type == VALUE_SZ || type == VALUE_EXPAND_SZ; }

// A text value up to its first zero.
bool read_text(const RegistryKey& key, const char16_t* name, WideText& text) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || !is_text_type(value->type)) return false;
    text = wide_text_before_zero(value->data);
    return true;
}

std::vector<WideText> read_list(const RegistryKey& key, const char16_t* name) {
    const RegistryValue* value = find_value(key, name);
    if (value == nullptr || value->type != VALUE_MULTI_SZ) return {};
    return split_wide_multi_string(value->data);
}

ServiceSetting setting(SettingKind kind, std::uint32_t number = 0, const WideText& text = {}) {
    ServiceSetting made;
    made.kind = kind;
    made.number = number;
    made.text = text;
    return made;
}

void add_number_if_not(std::vector<ServiceSetting>& out, const RegistryKey& key,
                       const char16_t* name, SettingKind kind, std::uint32_t already) {
    std::uint32_t number = 0;
    if (read_number(key, name, number) && number != already) out.push_back(setting(kind, number));
}

void add_number(std::vector<ServiceSetting>& out, const RegistryKey& key, const char16_t* name,
                SettingKind kind) {
    std::uint32_t number = 0;
    if (read_number(key, name, number)) out.push_back(setting(kind, number));
}

void add_dependencies(std::vector<ServiceSetting>& out, const RegistryKey& key) {
    ServiceSetting dependencies = setting(SettingKind::dependencies);
    dependencies.list = read_list(key, u"DependOnService");
    for (const WideText& group : read_list(key, u"DependOnGroup"))
        dependencies.list.push_back(u"+" + group);
    if (!dependencies.list.empty()) out.push_back(dependencies);
}

// The saved form: reset period, two unused fields, the number of actions
// and one more unused field, then type and delay of each action.
void add_failure_actions(std::vector<ServiceSetting>& out, const RegistryKey& key) {
    const RegistryValue* value = find_value(key, u"FailureActions");
    if (value == nullptr || value->data.size() < FAILURE_HEADER_BYTES) return;
    const std::string& data = value->data;
    const std::uint32_t count = dword_at(data, 12);
    if (count > (data.size() - FAILURE_HEADER_BYTES) / 8) return;
    ServiceSetting actions = setting(SettingKind::failure_actions, dword_at(data, 0));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = FAILURE_HEADER_BYTES + 8 * i;
        actions.actions.push_back({dword_at(data, at), dword_at(data, at + 4)});
    }
    actions.has_command = read_text(key, u"FailureCommand", actions.text);
    actions.has_reboot_message = read_text(key, u"RebootMessage", actions.reboot_message);
    out.push_back(actions);
}

bool is_security_key(const RegistryTree& snapshot, const RegistryKey& key) {
    return same_wide_name(key.path, snapshot[0].path + u"\\Security");
}

void add_security(std::vector<ServiceSetting>& out, const RegistryTree& snapshot) {
    for (const RegistryKey& key : snapshot) {
        const RegistryValue* value = find_value(key, u"Security");
        if (is_security_key(snapshot, key) && value != nullptr && value->type == VALUE_BINARY &&
            !value->data.empty()) {
            ServiceSetting security = setting(SettingKind::security);
            security.bytes = value->data;
            out.push_back(security);
        }
    }
}

bool is_record_value(const RegistryValue& value) {
    for (const char16_t* name : RECORD_VALUES)
        if (named(value, name)) return true;
    return false;
}

bool is_bad_descriptor(const RegistryValue& value) {
    return named(value, u"Security") &&
           (value.type != VALUE_BINARY || !is_well_formed_security_descriptor(value.data));
}

// Takes the values `withheld` says out of the key.
template <typename Withheld>
void take_out(RegistryKey& key, Withheld withheld) {
    std::vector<RegistryValue>& values = key.values;
    values.erase(std::remove_if(values.begin(), values.end(), withheld), values.end());
}

// A name for the user: the value's path below the service's key.
std::string relative_name(const WideText& key_path, const WideText& root,
                          const WideText& value_name, CodePage& code_page) {
    WideText name = key_path.size() > root.size() ? key_path.substr(root.size() + 1) : WideText();
    if (!name.empty()) name += u"\\";
    if (value_name.empty()) return code_page.to_ansi(name) + DEFAULT_VALUE_NAME;
    return code_page.to_ansi(name + value_name);
}

// A name as the registry's calls take it: up to its first zero.
WideText name_as_written(const WideText& name) { return name.substr(0, name.find(u'\0')); }

// A key path as the registry reaches it: up to a zero, empty parts passed over.
WideText path_as_reached(const WideText& path) {
    WideText reached;
    for (const char16_t unit : name_as_written(path))
        if (unit != u'\\' || (!reached.empty() && reached.back() != u'\\')) reached += unit;
    if (!reached.empty() && reached.back() == u'\\') reached.pop_back();
    return reached;
}

// The last word before a value reaches the registry, whatever the tree
// holds: the record's values and the deletion mark never go into the
// service's key, nor a malformed descriptor into its Security key.
bool never_written(const WideText& root, const WideText& key_path, const RegistryValue& value) {
    const WideText key = path_as_reached(key_path);
    const RegistryValue written{name_as_written(value.name), value.type, value.data};
    if (same_wide_name(key, path_as_reached(root)))
        return is_record_value(written) || named(written, DELETE_MARK);
    return same_wide_name(key, path_as_reached(root) + u"\\Security") &&
           is_bad_descriptor(written);
}

bool holds(const std::vector<RegistryValue>& values, const RegistryValue& wanted) {
    for (const RegistryValue& value : values)
        if (value == wanted) return true;
    return false;
}

// The last part of a key path: a service's key is named after the service.
WideText last_part(const WideText& path) { return path.substr(path.rfind(u'\\') + 1); }

// Letter case alone changes neither the program, the account nor the name.
bool same_as_record(const WideText& text, const std::string& recorded, CodePage& code_page) {
    return same_service_name(code_page.to_ansi(text), recorded);
}

// Decides one text of the creation: the snapshot's value of `name` when it
// is the record's text in one of the forms `alike` accepts, else the
// record's own text, the snapshot's value then being named.
template <typename Alike>
WideText decide_text(const RegistryKey* key, const char16_t* name, const std::string& recorded,
                     TextForms forms, Alike alike, std::vector<std::string>& differing) {
    WideText saved;
    if (key == nullptr || find_value(*key, name) == nullptr) return forms.code_page.to_wide(recorded);
    if (read_text(*key, name, saved) && alike(saved)) return saved;
    differing.push_back(forms.code_page.to_ansi(name) + DIFFERS_FROM_RECORD);
    return forms.code_page.to_wide(recorded);
}

std::uint32_t decide_number(const RegistryKey* key, const char16_t* name, std::uint32_t recorded,
                            bool per_user_kind, std::vector<std::string>& differing) {
    std::uint32_t saved = 0;
    if (key == nullptr || find_value(*key, name) == nullptr) return recorded;
    if (read_number(*key, name, saved)) {
        if (saved == recorded) return saved;
        // A per-user service whose process kind is the record's: the label
        // of older records did not tell the per-user bits.
        if (per_user_kind && base_service_type(saved) == base_service_type(recorded) &&
            saved != base_service_type(saved))
            return saved;
    }
    differing.push_back(std::string(name, name + std::char_traits<char16_t>::length(name)) +
                        DIFFERS_FROM_RECORD);
    return recorded;
}

}  // namespace

bool snapshot_fits_service(const RegistryTree& snapshot, const std::string& service_name,
                           CodePage& code_page) {
    if (snapshot.empty()) return false;
    const WideText& root = snapshot[0].path;
    const WideText services = WideText(SERVICES_KEY) + u"\\";
    if (!same_wide_name(root.substr(0, services.size()), services) ||
        root.find(u'\\', services.size()) != WideText::npos ||
        !same_as_record(last_part(root), service_name, code_page))
        return false;
    for (const RegistryKey& key : snapshot) {
        const WideText head = key.path.substr(0, root.size() + 1);
        if (key.path != root && (!same_wide_name(head, root + u"\\") || key.path.size() == head.size()))
            return false;
    }
    return true;
}

void drop_volatile_entries(RegistryTree& snapshot) {
    if (snapshot.empty()) return;
    take_out(snapshot[0], [](const RegistryValue& value) { return named(value, DELETE_MARK); });
    const WideText volatile_key = snapshot[0].path + u"\\" + VOLATILE_SUBKEY;
    snapshot.erase(std::remove_if(snapshot.begin() + 1, snapshot.end(),
                                  [&volatile_key](const RegistryKey& key) {
                                      const WideText head = key.path.substr(0, volatile_key.size());
                                      return same_wide_name(head, volatile_key) &&
                                             (key.path.size() == head.size() ||
                                              key.path[head.size()] == u'\\');
                                  }),
                   snapshot.end());
}

CreateServiceRequest decide_creation(const RecordedService& record, RegistryTree* snapshot,
                                     TextForms forms, std::vector<std::string>& named_values) {
    CodePage& code_page = forms.code_page;
    const RegistryKey* key = snapshot != nullptr && !snapshot->empty() ? &(*snapshot)[0] : nullptr;
    const auto same = [&](const std::string& recorded) {
        return [&code_page, &recorded](const WideText& saved) {
            return same_as_record(saved, recorded, code_page);
        };
    };
    CreateServiceRequest request;
    request.service_name = key != nullptr ? last_part(key->path) : code_page.to_wide(record.service_name);
    request.display_name = decide_text(
        key, u"DisplayName", record.display_name, forms,
        [&](const WideText& saved) {
            WideText resolved;
            return same(record.display_name)(saved) ||
                   (saved.size() > 1 && saved[0] == u'@' &&
                    forms.paths.load_indirect_text(saved, resolved) &&
                    same(record.display_name)(resolved));
        },
        named_values);
    request.binary_path = decide_text(
        key, u"ImagePath", record.binary_path, forms,
        [&](const WideText& saved) {
            return same(record.binary_path)(saved) ||
                   same(record.binary_path)(forms.paths.expand_environment(saved));
        },
        named_values);
    request.start_name =
        decide_text(key, u"ObjectName", record.start_name, forms, same(record.start_name), named_values);
    request.service_type = decide_number(key, u"Type", record.service_type, true, named_values);
    request.start_type = decide_number(key, u"Start", record.start_type, false, named_values);
    if (snapshot == nullptr || snapshot->empty()) return request;
    take_out((*snapshot)[0], is_record_value);
    for (RegistryKey& security : *snapshot)
        if (is_security_key(*snapshot, security))
            for (const RegistryValue& value : security.values)
                if (is_bad_descriptor(value))
                    named_values.push_back("Security\\" + code_page.to_ansi(value.name) + BAD_DESCRIPTOR);
    for (RegistryKey& security : *snapshot)
        if (is_security_key(*snapshot, security)) take_out(security, is_bad_descriptor);
    return request;
}

std::vector<ServiceSetting> manager_settings(const RegistryTree& snapshot) {
    std::vector<ServiceSetting> out;
    const RegistryKey& key = snapshot[0];
    add_number_if_not(out, key, u"ErrorControl", SettingKind::error_control, ERROR_NORMAL);
    WideText group;
    if (read_text(key, u"Group", group) && !group.empty())
        out.push_back(setting(SettingKind::load_order_group, 0, group));
    add_dependencies(out, key);
    // An expandable description (a resource reference) goes to the
    // registry as it is; the manager would store it as a plain text.
    WideText description;
    if (read_text(key, u"Description", description) &&
        find_value(key, u"Description")->type == VALUE_SZ)
        out.push_back(setting(SettingKind::description, 0, description));
    add_failure_actions(out, key);
    add_number(out, key, u"FailureActionsOnNonCrashFailures", SettingKind::failure_actions_flag);
    add_number(out, key, u"DelayedAutostart", SettingKind::delayed_auto_start);
    add_number(out, key, u"ServiceSidType", SettingKind::service_sid_type);
    ServiceSetting privileges = setting(SettingKind::required_privileges);
    privileges.list = read_list(key, u"RequiredPrivileges");
    if (!privileges.list.empty()) out.push_back(privileges);
    add_number(out, key, u"PreshutdownTimeout", SettingKind::preshutdown_timeout);
    add_security(out, snapshot);
    return out;
}

std::vector<std::string> write_snapshot_values(ServiceRegistry& registry,
                                               const RegistryTree& snapshot,
                                               CodePage& code_page) {
    std::vector<std::string> failed;
    if (snapshot.empty()) return failed;
    const WideText& root = snapshot[0].path;
    for (const RegistryKey& key : snapshot) {
        std::vector<RegistryValue> current;
        if (!registry.create_key(key.path)) {
            failed.push_back(code_page.to_ansi(
                key.path.size() > root.size() ? key.path.substr(root.size() + 1) : key.path));
            continue;
        }
        if (registry.list_values(key.path, current) != RegistryRead::found) current.clear();
        for (const RegistryValue& value : key.values)
            if (never_written(root, key.path, value) ||
                (!holds(current, value) && !registry.write_value(key.path, value)))
                failed.push_back(relative_name(key.path, root, value.name, code_page));
    }
    return failed;
}

}  // namespace quorvel
