#include "operations/restoration.h"

#include "history/snapshot_store.h"
#include "operations/service_settings.h"
#include "text/user_texts.h"

namespace quorvel {

Recreation recreation_from_texts(const RecordTexts& texts) {
    Recreation recreation;
    RecordedService& record = recreation.record;
    record.service_name = texts[COL_SERVICE_NAME];
    record.display_name = texts[COL_NAME];
    record.service_type = service_type_from_label(texts[COL_KIND].c_str());
    record.start_type = start_type_from_label(texts[COL_START_TYPE].c_str());
    record.binary_path = texts[COL_PATH];
    record.start_name = texts[COL_LOGON];
    recreation.start_after = is_running_label(texts[COL_STATE].c_str());
    return recreation;
}

namespace {

enum class Creation { created, failed, name_marked_for_deletion };

// unreadable: the user is asked first (the file cannot be read now, or
// names a key or value twice).
enum class Snapshot { usable, none, unusable, unreadable };

// The record's snapshot, loaded into `snapshot` when it can be used.
Snapshot look_for_snapshot(RestorationContext& context, const HistoryStore& history, int index,
                           const std::string& service_name, std::string& path,
                           RegistryTree& snapshot) {
    switch (find_snapshot(context.files, context.snapshot_folder, history.records, index, path)) {
    case SnapshotSearch::none:
        return Snapshot::none;
    case SnapshotSearch::unreadable:
        return Snapshot::unreadable;
    case SnapshotSearch::found:
        break;
    }
    switch (load_snapshot(context.files, path, context.code_page, snapshot)) {
    case SnapshotLoad::unusable:
        return Snapshot::unusable;
    case SnapshotLoad::ambiguous:
        // Edited so that no part of it can be trusted: as with a file that
        // cannot be read, the user decides whether the row alone will do.
        return Snapshot::unreadable;
    case SnapshotLoad::loaded:
        break;
    }
    if (!snapshot_fits_service(snapshot, service_name, context.code_page))
        return Snapshot::unusable;
    drop_volatile_entries(snapshot);
    return Snapshot::usable;
}

bool restore_from_record_alone(UserPrompt& prompt, const std::string& display_name,
                               const std::string& unreadable) {
    const std::string text = format_message(SNAPSHOT_UNREADABLE_QUESTION, display_name) +
                             "\r\n" + unreadable + "\r\n\r\n" + SNAPSHOT_UNREADABLE_ADVICE;
    return prompt.message_box(text, RESTORE_CONFIRMATION_CAPTION,
                              BOX_YESNO | BOX_ICONWARNING | BOX_DEFBUTTON2) == ANSWER_YES;
}

// The manager's own calls first, so that what it holds takes effect now;
// then the registry, which also catches what those calls did not store as
// saved.
void complete_from_snapshot(RestorationContext& context, const WideText& service,
                            const RegistryTree& snapshot, std::vector<std::string>& not_restored) {
    // A setting the manager refuses is still written into the registry below.
    for (const ServiceSetting& setting : manager_settings(snapshot))
        (void)context.scm.change_setting(service, setting);
    for (const std::string& name :
         write_snapshot_values(context.registry, snapshot, context.code_page))
        not_restored.push_back(name);
}

// The service is addressed by the exact name it was created under.
Creation create_and_start(RestorationContext& context, const CreateServiceRequest& request,
                          bool start_after, const RegistryTree* snapshot,
                          std::vector<std::string>& not_restored) {
    ServiceManager& scm = context.scm;
    const std::uint32_t error = scm.create(request);
    if (error != 0)
        return error == ERROR_MARKED_FOR_DELETE ? Creation::name_marked_for_deletion
                                                : Creation::failed;
    if (snapshot != nullptr)
        complete_from_snapshot(context, request.service_name, *snapshot, not_restored);
    // A service that will not start is still back; the refilled list shows
    // its state.
    if (start_after) (void)scm.start(request.service_name);
    return Creation::created;
}

void tell_failure(UserPrompt& prompt, const std::string& display_name, Creation creation) {
    std::string text = format_message(RESTORE_FAILED_TEXT, display_name);
    if (creation == Creation::name_marked_for_deletion)
        text += std::string("\r\n") + MARKED_FOR_DELETE_TEXT;
    prompt.tell(text, ERROR_CAPTION, BOX_ICONERROR);
}

// Where the snapshot went once the record has left the history: deleted
// only when everything in it was applied, otherwise set aside so that no
// later record of the service takes it for its own. The paragraph for the
// message, if the user needs to know.
std::string retire_and_tell(FileSystem& files, const std::string& path, bool applied_whole) {
    std::string now_at;
    switch (retire_snapshot(files, path, !applied_whole, now_at)) {
    case SnapshotFate::deleted:
        return "";
    case SnapshotFate::kept:
        // Set aside only because it could not be deleted: nothing is missing.
        if (applied_whole) return "";
        return std::string(SNAPSHOT_KEPT_TEXT) + "\r\n" + now_at;
    case SnapshotFate::left:
        break;
    }
    return std::string(SNAPSHOT_LEFT_TEXT) + "\r\n" + now_at;
}

// After the success message, one warning with what was not restored and
// what became of the files; none when there is nothing to say.
void tell_success(UserPrompt& prompt, const std::string& display_name,
                  const std::vector<std::string>& not_restored, const std::string& files_notice) {
    prompt.tell(format_message(RESTORED_TEXT, display_name), RESTORED_CAPTION, BOX_OK);
    std::string text;
    if (!not_restored.empty()) {
        text = format_message(PARTLY_RESTORED_TEXT, display_name);
        for (const std::string& name : not_restored) text += "\r\n" + name;
    }
    if (!files_notice.empty()) text += (text.empty() ? "" : "\r\n\r\n") + files_notice;
    if (!text.empty()) prompt.tell(text, RESTORED_CAPTION, BOX_ICONWARNING);
}

}  // namespace

bool restore_service(RestorationContext& context, HistoryStore& history, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= history.records.size()) return false;
    // The record itself, not the list's copy of it: the list would hand back
    // at most 259 bytes of each text.
    const RecordTexts texts = split_record(history.records[index]);
    const std::string& display_name = texts[COL_NAME];
    const Recreation recreation = recreation_from_texts(texts);
    std::string snapshot_path;
    RegistryTree snapshot;
    std::vector<std::string> not_restored;
    const Snapshot found = look_for_snapshot(context, history, index,
                                             recreation.record.service_name, snapshot_path,
                                             snapshot);
    // An unreadable snapshot is never deleted: it is the only copy of the
    // rest of the key.
    if (found == Snapshot::unreadable &&
        !restore_from_record_alone(context.prompt, display_name, snapshot_path))
        return false;
    if (found == Snapshot::unusable) not_restored.push_back(snapshot_path + SNAPSHOT_UNUSABLE);
    RegistryTree* usable = found == Snapshot::usable ? &snapshot : nullptr;
    const CreateServiceRequest request = decide_creation(
        recreation.record, usable, {context.code_page, context.paths}, not_restored);
    const Creation creation =
        create_and_start(context, request, recreation.start_after, usable, not_restored);
    if (creation != Creation::created) {
        tell_failure(context.prompt, display_name, creation);
        return false;
    }
    // A snapshot file that answered for the record; not the folder that
    // could not be listed.
    const bool has_file = found == Snapshot::usable || found == Snapshot::unusable ||
                          (found == Snapshot::unreadable && snapshot_path != context.snapshot_folder);
    const bool applied_whole = found == Snapshot::usable && not_restored.empty();
    std::string files_notice;
    // The snapshot is retired only once its record is out of the file: a
    // record left behind must still find it.
    if (!history_save_removed(history, context.files, context.history_file,
                              history_ref(history, index))) {
        files_notice = format_message(HISTORY_NOT_UPDATED_TEXT, display_name) +
                       HISTORY_FILE_ADVICE + "\r\n" + context.history_file;
        if (has_file && !applied_whole)
            files_notice += std::string("\r\n\r\n") + SNAPSHOT_KEPT_TEXT + "\r\n" + snapshot_path;
    } else if (has_file) {
        files_notice = retire_and_tell(context.files, snapshot_path, applied_whole);
    }
    tell_success(context.prompt, display_name, not_restored, files_notice);
    return true;
}

}  // namespace quorvel
