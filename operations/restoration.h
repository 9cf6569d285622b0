// Bringing a deleted service back from its record in the history: the
// saved row's texts become the creation arguments, the service is created,
// the rest of its configuration comes back from the snapshot of its
// registry key when the record has one, the service is started if it was
// running when it was deleted, and the record leaves the history. Its
// snapshot is deleted only when everything in it was applied; otherwise it
// stays, set aside, and the user is told where.
#pragma once

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"
#include "files/file_system.h"
#include "history/history_store.h"
#include "history/record_format.h"
#include "operations/prompt.h"
#include "operations/service_settings.h"

namespace quorvel {

struct Recreation {
    RecordedService record;
    bool start_after = false;  // the service was running when it was deleted
};

// What a saved row re-creates. The description is not part of it, and no
// text can make it fail: unknown labels give the platform's defaults.
Recreation recreation_from_texts(const RecordTexts& texts);

// Everything a restoration works with.
struct RestorationContext {
    ServiceManager& scm;
    ServiceRegistry& registry;
    CodePage& code_page;
    SystemPaths& paths;
    UserPrompt& prompt;
    FileSystem& files;
    std::string snapshot_folder;
    std::string history_file;
};

// Re-creates the service of the history record at `index` and tells the
// user how it went, in message boxes owned by `prompt`'s window. True when the
// service was created: its record has then left the history file (the
// store follows the file) and, once that is saved, its snapshot is deleted
// if everything in it was applied, or else set aside (kept_snapshot_path);
// should the save fail, both stay and the message says so. False otherwise,
// with both left in place: the creation failed, or the snapshot cannot be
// read now and the user did not choose to restore from the record alone.
[[nodiscard]] bool restore_service(RestorationContext& context, HistoryStore& history, int index);

}  // namespace quorvel
