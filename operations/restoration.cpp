#include "operations/restoration.h"

namespace quorvel {

const char* const RESTORED_TEXT = "サービス名 %s を復活しました";
const char* const RESTORED_CAPTION = "復活";
const char* const RESTORE_FAILED_TEXT = "%s の復活に失敗しました。";
const char* const RESTORE_FAILED_CAPTION = "エラー";

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

// Both handles are closed before the caller shows a message: a modal box
// must not keep the manager open while the user reads it.
bool create_and_start(ServiceManager& scm, const Recreation& recreation) {
    const ScopedScHandle manager(scm, scm.open_manager(MANAGER_CREATE_SERVICE));
    if (!manager) return false;
    const ScopedScHandle service(scm, scm.create(manager.get(), recreation.request));
    if (!service) return false;
    // A service that will not start is still back; the refilled list shows
    // its state.
    if (recreation.start_after) scm.start(service.get());
    return true;
}

}  // namespace

int restore_service(ServiceManager& scm, UserPrompt& prompt, HistoryStore& history, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= history.records.size()) return 0;
    // The record itself, not the list's copy of it: the list would hand back
    // at most 259 bytes of each text.
    const RecordTexts texts = split_record(history.records[index]);
    const std::string& display_name = texts[COL_NAME];
    if (!create_and_start(scm, recreation_from_texts(texts))) {
        prompt.message_box(format_message(RESTORE_FAILED_TEXT, display_name),
                           RESTORE_FAILED_CAPTION, BOX_ICONERROR);
        return 0;
    }
    history_remove(history, index);
    prompt.message_box(format_message(RESTORED_TEXT, display_name), RESTORED_CAPTION, BOX_OK);
    return 1;
}

}  // namespace quorvel
