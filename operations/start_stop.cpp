#include "operations/start_stop.h"

#include "text/user_texts.h"

namespace quorvel {

namespace {

constexpr int STOP_POLLS = 10;
constexpr unsigned STOP_POLL_PAUSE_MS = 500;

}  // namespace

bool start_service(ServiceManager& scm, const WideText& service_name) {
    return scm.start(service_name);
}

bool stop_service(ServiceManager& scm, Pause& pause, const WideText& service_name) {
    if (!scm.request_stop(service_name)) return false;
    return poll_until_stopped(scm, service_name, pause);
}

bool poll_until_stopped(ServiceManager& scm, const WideText& service_name, Pause& pause) {
    for (int poll = 0; poll < STOP_POLLS; ++poll) {
        ServiceStatus status;
        if (scm.query_status(service_name, status) && status.current_state == STATE_STOPPED)
            return true;
        pause.sleep_ms(STOP_POLL_PAUSE_MS);
    }
    return false;
}

void start_command(ServiceManager& scm, UserPrompt& prompt, const std::string& display_name,
                   const WideText& service_name) {
    if (start_service(scm, service_name))
        prompt.tell(format_message(START_MESSAGE, display_name), START_CAPTION, BOX_OK);
}

void stop_command(ServiceManager& scm, UserPrompt& prompt, Pause& pause,
                  const std::string& display_name, const WideText& service_name) {
    if (stop_service(scm, pause, service_name))
        prompt.tell(format_message(STOP_MESSAGE, display_name), STOP_CAPTION, BOX_OK);
}

}  // namespace quorvel
