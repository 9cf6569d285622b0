#include "operations/deletion.h"

#include <vector>

#include "catalogue/enumeration.h"
#include "catalogue/service_row.h"
#include "history/snapshot_store.h"
#include "operations/restoration.h"
#include "operations/service_settings.h"
#include "operations/start_stop.h"
#include "text/byte_codes.h"
#include "text/cp932.h"
#include "text/user_texts.h"

namespace quorvel {

namespace {

const char SYSTEM_ROOT_PREFIX[] = "\\SystemRoot\\";

// A list value of the service's key; a key or value that is not there is
// an empty list.
Answer registry_list(ServiceRegistry& registry, const WideText& service,
                     const char16_t* value_name, std::vector<WideText>& items) {
    std::string bytes;
    switch (registry.read_value(service_key_path(service), value_name, bytes)) {
    case RegistryRead::found:
        items = split_wide_multi_string(bytes);
        return items.empty() ? Answer::no : Answer::yes;
    case RegistryRead::no_key:
    case RegistryRead::no_value:
        items.clear();
        return Answer::no;
    case RegistryRead::unknown:
        break;
    }
    return Answer::unknown;
}

// Yes when either says yes; otherwise unknown when either could not tell.
Answer either(Answer first, Answer second) {
    if (first == Answer::yes || second == Answer::yes) return Answer::yes;
    if (first == Answer::unknown || second == Answer::unknown) return Answer::unknown;
    return Answer::no;
}

// The configuration the platform reports may leave dependencies out (some
// platforms never report them), so the service's key is asked too.
Answer has_load_order_or_dependencies(const ServiceConfig* config, ServiceRegistry& registry,
                                      const WideText& service_name) {
    if (config != nullptr && (!config->load_order_group.empty() || !config->dependencies.empty()))
        return Answer::yes;
    std::vector<WideText> unused;
    return either(registry_list(registry, service_name, u"DependOnService", unused),
                  registry_list(registry, service_name, u"DependOnGroup", unused));
}

bool warn(UserPrompt& prompt, const char* pattern, const std::string& name) {
    prompt.tell(format_message(pattern, name), ERROR_CAPTION, BOX_ICONWARNING | BOX_OK);
    return false;
}

bool ask(UserPrompt& prompt, const std::string& text) {
    return prompt.message_box(text, DELETE_CAPTION, BOX_ICONWARNING | BOX_YESNO) != ANSWER_NO;
}

// The checks that need the Service Control Manager; skipped (go on) when
// it or the service cannot be opened. A check that cannot be made refuses.
bool check_with_manager(const std::string& display_name, const WideText& service_name,
                        DeletionContext& context) {
    ServiceManager& scm = context.scm;
    ServiceConfig config;
    const ServiceCall read = scm.connected() ? scm.query_config(service_name, config)
                                             : ServiceCall::not_opened;
    if (read == ServiceCall::not_opened) return true;
    Answer dependents = scm.has_dependents(service_name);
    if (dependents != Answer::yes)
        dependents = either(dependents, has_dependent_in_registry(context.registry, service_name));
    if (dependents == Answer::yes) return warn(context.prompt, DEPENDENTS_REFUSED, display_name);
    if (dependents == Answer::unknown)
        return warn(context.prompt, DEPENDENTS_UNKNOWN, display_name);
    const bool have_config = read == ServiceCall::done;
    switch (has_load_order_or_dependencies(have_config ? &config : nullptr, context.registry,
                                           service_name)) {
    case Answer::yes:
        return ask(context.prompt, format_message(LOAD_ORDER_QUESTION, display_name));
    case Answer::unknown:
        return warn(context.prompt, DEPENDENCIES_UNKNOWN, display_name);
    case Answer::no:
        break;
    }
    return true;
}

enum class KeySnapshot { saved, service_gone, key_unreadable, name_unwritable, folder_unwritable };

// The snapshot of the service's whole key, saved as `path`; `unreadable`
// names the key that could not be read.
KeySnapshot snapshot_service_key(const ServiceRow& service, const std::string& record,
                                 DeletionContext& context, std::string& path,
                                 WideText& unreadable) {
    RegistryTree keys;
    switch (read_registry_tree(context.registry, service_key_path(service.exact_name), keys,
                               unreadable)) {
    case RegistryRead::found:
        break;
    case RegistryRead::no_key:
        return KeySnapshot::service_gone;
    default:
        return KeySnapshot::key_unreadable;
    }
    drop_volatile_entries(keys);
    switch (save_snapshot(context.files, context.snapshot_folder, record,
                          service.texts[COL_SERVICE_NAME], keys, path)) {
    case SnapshotSave::saved:
        return KeySnapshot::saved;
    case SnapshotSave::name_not_writable:
        return KeySnapshot::name_unwritable;
    case SnapshotSave::folder_not_writable:
        break;
    }
    return KeySnapshot::folder_unwritable;
}

void tell_snapshot_not_saved(DeletionContext& context, const std::string& display_name,
                             KeySnapshot why, const WideText& unreadable) {
    std::string advice = why == KeySnapshot::key_unreadable    ? KEY_ADVICE
                         : why == KeySnapshot::name_unwritable ? NAME_ADVICE
                                                               : FOLDER_ADVICE;
    if (why == KeySnapshot::key_unreadable)
        advice += "HKEY_LOCAL_MACHINE\\" + context.code_page.to_ansi(unreadable);
    context.prompt.tell(format_message(SNAPSHOT_NOT_SAVED, display_name) + advice, ERROR_CAPTION,
                        BOX_ICONWARNING | BOX_OK);
}

// A key that is plainly not there; a read that fails otherwise says nothing.
bool service_key_is_gone(ServiceRegistry& registry, const WideText& service_name) {
    std::vector<RegistryValue> unused;
    return registry.list_values(service_key_path(service_name), unused) == RegistryRead::no_key;
}

// `aftermath`, when there is one, says what of the rollback failed.
DeletionOutcome tell_not_deleted(UserPrompt& prompt, const std::string& display_name,
                                 const std::string& aftermath = "") {
    std::string text = format_message(NOT_DELETED, display_name);
    if (!aftermath.empty()) text += "\r\n\r\n" + aftermath;
    prompt.tell(text, DELETE_CAPTION, aftermath.empty() ? BOX_OK : BOX_ICONWARNING);
    return DeletionOutcome::failed;
}

// A snapshot whose record never got into the history, or has left it
// again: deleted, or set aside so that it answers for no later record. The
// paragraph for the message when neither worked.
std::string drop_snapshot(FileSystem& files, const std::string& path) {
    std::string now_at;
    if (retire_snapshot(files, path, false, now_at) != SnapshotFate::left) return "";
    return std::string(SNAPSHOT_LEFT_TEXT) + "\r\n" + now_at;
}

}  // namespace

bool lies_in_system_directory(const std::string& path, SystemPaths& paths) {
    std::string expanded = path;
    if (!expanded.empty() && expanded[0] == '"') expanded.erase(0, 1);
    if (starts_with_ignoring_case(expanded, SYSTEM_ROOT_PREFIX))
        expanded.replace(0, sizeof SYSTEM_ROOT_PREFIX - 2, "%SystemRoot%");
    if (expanded.find('%') != std::string::npos) expanded = paths.expand_environment(expanded);
    const std::string directory = paths.system_directory();
    return starts_with_ignoring_case(expanded, directory);
}

Answer has_dependent_in_registry(ServiceRegistry& registry, const WideText& service_name) {
    std::vector<WideText> services;
    if (registry.list_subkeys(SERVICES_KEY, services) != RegistryRead::found) return Answer::unknown;
    Answer found = Answer::no;
    for (const WideText& other : services) {
        // Its own list is the load-order check's.
        if (same_wide_name(other, service_name)) continue;
        std::vector<WideText> dependencies;
        if (registry_list(registry, other, u"DependOnService", dependencies) == Answer::unknown)
            found = Answer::unknown;  // unless another service says yes
        for (const WideText& dependency : dependencies)
            if (same_wide_name(dependency, service_name)) return Answer::yes;
    }
    return found;
}

bool check_deletion(const ServiceRow& row, DeletionContext& context) {
    const std::string& display_name = row.texts[COL_NAME];
    if (is_driver_type(row.service_type))
        return warn(context.prompt, DRIVER_REFUSED, display_name);
    if (lies_in_system_directory(row.texts[COL_PATH], context.paths) &&
        !ask(context.prompt, format_message(SYSTEM_QUESTION, display_name)))
        return false;
    return check_with_manager(display_name, row.exact_name, context);
}

bool stop_and_delete(const WideText& service_name, ServiceManager& scm, Pause& pause) {
    ServiceStatus status;
    if (scm.query_status(service_name, status) && status.current_state != STATE_STOPPED &&
        scm.request_stop(service_name))
        // Deleted whether it stopped or not: one that would not stop is
        // still marked for deletion.
        (void)poll_until_stopped(scm, service_name, pause);
    return scm.remove(service_name);
}

DeletionOutcome run_deletion(const ServiceRow& row, DeletionContext& context,
                             const std::function<void()>& remove_row) {
    const std::string& display_name = row.texts[COL_NAME];
    if (!check_deletion(row, context)) return DeletionOutcome::refused;
    if (context.prompt.message_box(format_message(CONFIRMATION, display_name),
                                   CONFIRMATION_CAPTION, BOX_YESNO) != ANSWER_YES)
        return DeletionOutcome::refused;

    // The record holds the service as it is now, not as the list last saw it.
    ServiceRow current;
    if (!read_service_row(context.scm, context.registry, context.code_page, row.exact_name,
                          context.skip_descriptions, current)) {
        if (service_key_is_gone(context.registry, row.exact_name))
            return tell_not_deleted(context.prompt, display_name);
        warn(context.prompt, CONFIG_UNREADABLE, display_name);
        return DeletionOutcome::refused;
    }
    // The snapshot and the record are on disk before the service goes: a
    // deleted service without them could never be brought back whole.
    const std::string record = join_record(current.texts);
    std::string snapshot;
    WideText unreadable;
    const KeySnapshot saved = snapshot_service_key(row, record, context, snapshot, unreadable);
    // No key: the service was deleted behind the program's back.
    if (saved == KeySnapshot::service_gone) return tell_not_deleted(context.prompt, display_name);
    if (saved != KeySnapshot::saved) {
        tell_snapshot_not_saved(context, display_name, saved, unreadable);
        return DeletionOutcome::not_saved;
    }
    if (!history_save_added(context.history, context.files, context.history_file, record)) {
        const std::string left = drop_snapshot(context.files, snapshot);
        context.prompt.tell(
            format_message(NOT_SAVED, display_name) + (left.empty() ? "" : "\r\n\r\n" + left),
            ERROR_CAPTION, BOX_ICONWARNING | BOX_OK);
        return DeletionOutcome::not_saved;
    }
    if (!stop_and_delete(row.exact_name, context.scm, context.pause)) {
        // Should the record stay in the file after all, so does its snapshot.
        if (!history_save_removed(context.history, context.files, context.history_file,
                                  {record, 0}))
            return tell_not_deleted(context.prompt, display_name,
                                    std::string(RECORD_NOT_TAKEN_BACK) + HISTORY_FILE_ADVICE +
                                        "\r\n" + context.history_file);
        return tell_not_deleted(context.prompt, display_name,
                                drop_snapshot(context.files, snapshot));
    }
    remove_row();
    context.prompt.tell(format_message(DELETED, display_name), DELETE_CAPTION, BOX_OK);
    return DeletionOutcome::deleted;
}

}  // namespace quorvel
