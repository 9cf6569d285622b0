#include "operations/restoration.h"

#include "history/snapshot_store.h"
#include "operations/service_settings.h"

namespace quorvel {

const char* const RESTORED_TEXT = "サービス名 %s を復活しました";
const char* const RESTORED_CAPTION = "復活";
const char* const RESTORE_FAILED_TEXT = "%s の復活に失敗しました。";
const char* const RESTORE_FAILED_CAPTION = "エラー";
const char* const MARKED_FOR_DELETE_TEXT =
    "同じ名前のサービスが削除待ちのまま残っているため、"
    "そのサービスを開いているプログラム (サービス管理ツールなど) を閉じるか、"
    "Windows を再起動してからやり直してください。";
const char* const PARTLY_RESTORED_TEXT = "%s は復活しましたが、次の設定は元に戻せませんでした。";

Recreation recreation_from_texts(const RecordTexts& texts) {
    Recreation recreation;
    CreateServiceRequest& request = recreation.request;
    request.service_name = texts[COL_SERVICE_NAME];
    request.display_name = texts[COL_NAME];
    request.service_type = service_type_from_label(texts[COL_KIND].c_str());
    request.start_type = start_type_from_label(texts[COL_START_TYPE].c_str());
    request.binary_path = texts[COL_PATH];
    request.start_name = texts[COL_LOGON];
    recreation.start_after = is_running_label(texts[COL_STATE].c_str());
    return recreation;
}

namespace {

const char SNAPSHOT_UNREADABLE[] = " (読み込めません)";

enum class Creation { created, failed, name_marked_for_deletion };

// The snapshot of the record, when it has one that can be used; a snapshot
// that cannot is named in `not_restored`.
bool usable_snapshot(RestorationContext& context, const HistoryStore& history, int index,
                     const std::string& service_name, std::string& path, RegistryTree& snapshot,
                     std::vector<std::string>& not_restored) {
    path = find_snapshot(context.files, context.snapshot_folder, history.records, index);
    if (path.empty()) return false;
    if (load_snapshot(context.files, path, snapshot) &&
        snapshot_fits_service(snapshot, service_name)) {
        drop_deletion_mark(snapshot);
        return true;
    }
    not_restored.push_back(path + SNAPSHOT_UNREADABLE);
    return false;
}

// The manager's own calls first, so that what it holds takes effect now;
// then the registry, which also catches what those calls did not store as
// saved.
void complete_from_snapshot(RestorationContext& context, ScHandle service,
                            const Recreation& recreation, const RegistryTree& snapshot,
                            std::vector<std::string>& not_restored) {
    for (const ServiceSetting& setting : manager_settings(snapshot, recreation.request))
        context.scm.change_setting(service, setting);
    for (const std::string& name : write_snapshot_values(context.registry, snapshot))
        not_restored.push_back(name);
}

// Both handles are closed before the caller shows a message: a modal box
// must not keep the manager open while the user reads it.
Creation create_and_start(RestorationContext& context, const Recreation& recreation,
                          const RegistryTree* snapshot, std::vector<std::string>& not_restored) {
    ServiceManager& scm = context.scm;
    const ScopedScHandle manager(scm, scm.open_manager(MANAGER_CREATE_SERVICE));
    if (!manager) return Creation::failed;
    const ScopedScHandle service(scm, scm.create(manager.get(), recreation.request));
    if (!service)
        return scm.last_create_error() == ERROR_MARKED_FOR_DELETE
                   ? Creation::name_marked_for_deletion
                   : Creation::failed;
    if (snapshot != nullptr)
        complete_from_snapshot(context, service.get(), recreation, *snapshot, not_restored);
    // A service that will not start is still back; the refilled list shows
    // its state.
    if (recreation.start_after) scm.start(service.get());
    return Creation::created;
}

void tell_failure(UserPrompt& prompt, const std::string& display_name, Creation creation) {
    std::string text = format_message(RESTORE_FAILED_TEXT, display_name);
    if (creation == Creation::name_marked_for_deletion)
        text += std::string("\r\n") + MARKED_FOR_DELETE_TEXT;
    prompt.message_box(text, RESTORE_FAILED_CAPTION, BOX_ICONERROR);
}

void tell_success(UserPrompt& prompt, const std::string& display_name,
                  const std::vector<std::string>& not_restored) {
    prompt.message_box(format_message(RESTORED_TEXT, display_name), RESTORED_CAPTION, BOX_OK);
    if (not_restored.empty()) return;
    std::string text = format_message(PARTLY_RESTORED_TEXT, display_name);
    for (const std::string& name : not_restored) text += "\r\n" + name;
    prompt.message_box(text, RESTORED_CAPTION, BOX_ICONWARNING);
}

}  // namespace

int restore_service(RestorationContext& context, HistoryStore& history, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= history.records.size()) return 0;
    // The record itself, not the list's copy of it: the list would hand back
    // at most 259 bytes of each text.
    const RecordTexts texts = split_record(history.records[index]);
    const std::string& display_name = texts[COL_NAME];
    const Recreation recreation = recreation_from_texts(texts);
    std::string snapshot_path;
    RegistryTree snapshot;
    std::vector<std::string> not_restored;
    const bool complete =
        usable_snapshot(context, history, index, recreation.request.service_name, snapshot_path,
                        snapshot, not_restored);
    const Creation creation =
        create_and_start(context, recreation, complete ? &snapshot : nullptr, not_restored);
    if (creation != Creation::created) {
        tell_failure(context.prompt, display_name, creation);
        return 0;
    }
    history_remove(history, index);
    if (complete) context.files.delete_file(snapshot_path);
    tell_success(context.prompt, display_name, not_restored);
    return 1;
}

}  // namespace quorvel
