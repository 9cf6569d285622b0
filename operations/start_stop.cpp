#include "operations/start_stop.h"

namespace quorvel {

namespace {

constexpr int STOP_POLLS = 10;
constexpr unsigned STOP_POLL_PAUSE_MS = 500;

const char START_MESSAGE[] = "%s を開始しました";
const char START_CAPTION[] = "開始";
const char STOP_MESSAGE[] = "%s を停止しました";
const char STOP_CAPTION[] = "停止";

}  // namespace

int start_service(ServiceManager& scm, const std::string& service_name) {
    ScopedScHandle manager(scm, scm.open_manager(MANAGER_CREATE_SERVICE));
    if (!manager) return 0;
    ScopedScHandle service(scm, scm.open_service(manager.get(), service_name, SERVICE_FULL_ACCESS));
    if (!service) return 0;
    return scm.start(service.get()) ? 1 : 0;
}

int stop_service(ServiceManager& scm, Pause& pause, const std::string& service_name) {
    ScopedScHandle manager(scm, scm.open_manager(MANAGER_CREATE_SERVICE));
    if (!manager) return 0;
    ScopedScHandle service(scm, scm.open_service(manager.get(), service_name, SERVICE_FULL_ACCESS));
    if (!service) return 0;
    if (!scm.request_stop(service.get())) return 0;
    return poll_until_stopped(scm, service.get(), pause);
}

int poll_until_stopped(ServiceManager& scm, ScHandle service, Pause& pause) {
    for (int poll = 0; poll < STOP_POLLS; ++poll) {
        std::uint32_t state = 0;
        if (scm.query_state(service, state) && state == STATE_STOPPED) return 1;
        pause.sleep_ms(STOP_POLL_PAUSE_MS);
    }
    return 0;
}

void start_command(ServiceManager& scm, UserPrompt& prompt, const std::string& display_name,
                   const std::string& service_name) {
    if (start_service(scm, service_name))
        prompt.message_box(format_message(START_MESSAGE, display_name), START_CAPTION, BOX_OK);
}

void stop_command(ServiceManager& scm, UserPrompt& prompt, Pause& pause,
                  const std::string& display_name, const std::string& service_name) {
    if (stop_service(scm, pause, service_name))
        prompt.message_box(format_message(STOP_MESSAGE, display_name), STOP_CAPTION, BOX_OK);
}

}  // namespace quorvel
