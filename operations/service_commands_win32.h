// The service operations as the main window starts them.
#pragma once

#include <windows.h>

#include "catalogue/service_row.h"

namespace quorvel {

// The deletion flow for the selected row, if there is one: safeguards,
// confirmation, stop, history record, deletion, messages and refill.
void delete_selected_service();

// The modal restore dialog; 1 when a service was re-created.
INT_PTR run_restore_dialog();

// Start or stop a listed service, by its whole service name, telling the
// user of success only.
void start_listed_service(const ServiceRow& service);
void stop_listed_service(const ServiceRow& service);

}  // namespace quorvel
