// operations/: what a command does to a service (delete, restore, start, stop), over seams.
//
// Deleting a service with safeguards: drivers and services others depend
// on are refused, and so is a service for which either cannot be found out;
// system services and services with a load order or dependencies need a
// Yes. The row is kept in the
// history, and the service's whole registry key in a snapshot beside it,
// before the service is deleted, so it can always be restored.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"
#include "catalogue/service_row.h"
#include "files/file_system.h"
#include "history/history_store.h"
#include "history/record_format.h"
#include "operations/prompt.h"
#include "operations/system_paths.h"
#include "text/code_page.h"

namespace quorvel {

// Everything a deletion works with.
struct DeletionContext {
    ServiceManager& scm;
    ServiceRegistry& registry;
    CodePage& code_page;
    SystemPaths& paths;
    UserPrompt& prompt;
    Pause& pause;
    HistoryStore& history;
    FileSystem& files;
    std::string history_file;
    std::string snapshot_folder;
    bool skip_descriptions = false;  // as the list reads the services
};

enum class DeletionOutcome {
    refused,    // a safeguard or the user said no; nothing changed
    not_saved,  // the history or the snapshot could not be saved; nothing deleted
    deleted,
    failed,     // the Service Control Manager did not delete it, or it was gone
};

// True when the executable path lies in the system directory: compared
// over the directory's length as names are (same_service_name), after a leading quote
// is dropped and %NAME% and \SystemRoot\ references are expanded.
bool lies_in_system_directory(const std::string& path, SystemPaths& paths);

// Whether any service lists `service_name` in its DependOnService value;
// unknown when the services cannot be listed or a list cannot be read.
[[nodiscard]] Answer has_dependent_in_registry(ServiceRegistry& registry,
                                               const WideText& service_name);

// The safeguards in order; shows its own messages. True: go on. The row's
// `service_type` is the enumeration's number behind its kind label: it
// alone tells every kind of driver.
[[nodiscard]] bool check_deletion(const ServiceRow& row, DeletionContext& context);

// Stops the service if it runs (at most 10 polls, 500 ms apart) and
// deletes it in every case. True when the deletion succeeded.
[[nodiscard]] bool stop_and_delete(const WideText& service_name, ServiceManager& scm, Pause& pause);

// The whole command for one row: safeguards, confirmation, the record of
// the service as it is now and the snapshot of its key saved, stop and
// delete, the row removed and the outcome told. Every step addresses the
// service by the row's exact name.
[[nodiscard]] DeletionOutcome run_deletion(const ServiceRow& row, DeletionContext& context,
                                           const std::function<void()>& remove_row);

}  // namespace quorvel
