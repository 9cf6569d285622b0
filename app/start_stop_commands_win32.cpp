#include "app/service_commands_win32.h"
#include "catalogue/service_manager_win32.h"
#include "operations/prompt_win32.h"
#include "operations/start_stop.h"

namespace quorvel {

// The names are copied: the table behind `service` is replaced by the
// next refill.
void start_listed_service(HWND owner, const ServiceRow& service) {
    const std::string display_name = service.texts[COL_NAME];
    const WideText service_name = service.exact_name;
    Win32ServiceManager scm(MANAGER_CREATE_SERVICE);
    Win32Prompt prompt(owner);
    start_command(scm, prompt, display_name, service_name);
}

// The poll blocks this thread without handling messages, for up to about
// 5 seconds; the window does not respond meanwhile.
void stop_listed_service(HWND owner, const ServiceRow& service) {
    const std::string display_name = service.texts[COL_NAME];
    const WideText service_name = service.exact_name;
    Win32ServiceManager scm(MANAGER_CREATE_SERVICE);
    Win32Prompt prompt(owner);
    Win32Pause pause;
    stop_command(scm, prompt, pause, display_name, service_name);
}

}  // namespace quorvel
