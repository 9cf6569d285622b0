// The commands of the main window that run an operation: each reads the
// selection, builds the operation's context from MainWindow and shows the
// result.
#pragma once

#include <windows.h>

#include "app/main_window_win32.h"
#include "catalogue/service_row.h"

namespace quorvel {

// The deletion flow for the selected row, if there is one: safeguards,
// confirmation, stop, history record, deletion, messages and refill.
void delete_selected_service(MainWindow& main);

// The modal restore dialog; true when a service was re-created.
[[nodiscard]] bool run_restore_dialog(MainWindow& main);

// Start or stop a listed service, by its whole service name, telling the
// user of success only, in message boxes owned by `owner`.
void start_listed_service(HWND owner, const ServiceRow& service);
void stop_listed_service(HWND owner, const ServiceRow& service);

}  // namespace quorvel
