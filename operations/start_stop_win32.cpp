#include "app/app_state_win32.h"
#include "app/service_list_win32.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_row.h"
#include "operations/prompt_win32.h"
#include "operations/service_commands_win32.h"
#include "operations/start_stop.h"

namespace quorvel {

void start_service_at(int row) {
    const std::string display_name = list_row_text(list_view, row, COL_NAME);
    const std::string service_name = list_row_text(list_view, row, COL_SERVICE_NAME);
    Win32ServiceManager scm;
    Win32Prompt prompt(main_window);
    start_command(scm, prompt, display_name, service_name);
}

// The poll blocks this thread without handling messages, for up to about
// 5 seconds; the window does not respond meanwhile.
void stop_service_at(int row) {
    const std::string display_name = list_row_text(list_view, row, COL_NAME);
    const std::string service_name = list_row_text(list_view, row, COL_SERVICE_NAME);
    Win32ServiceManager scm;
    Win32Prompt prompt(main_window);
    Win32Pause pause;
    stop_command(scm, prompt, pause, display_name, service_name);
}

}  // namespace quorvel
