// Starting and stopping one service, and the two commands that do so for
// the selected row of the table.
#pragma once

#include <string>

#include "catalogue/service_manager.h"
#include "operations/prompt.h"

namespace quorvel {

// True when the Service Control Manager accepted the start request; the
// service may still be starting, or may already have stopped again.
[[nodiscard]] bool start_service(ServiceManager& scm, const WideText& service_name);

// True when the service was seen stopped after a stop request, false when
// the request was refused or the service did not stop within the polls.
[[nodiscard]] bool stop_service(ServiceManager& scm, Pause& pause, const WideText& service_name);

// Polls the service until it reports itself stopped: the first query
// right away, then one after each 500 ms pause, 10 queries at most; the
// last unsuccessful one is followed by its pause as well (about 5 s in
// all). A failed query is a poll that did not see the stop. True when a
// poll saw it stopped.
[[nodiscard]] bool poll_until_stopped(ServiceManager& scm, const WideText& service_name,
                                      Pause& pause);

// The commands on one row: the operation gets the exact service name, and
// only success is reported, naming the display name.
void start_command(ServiceManager& scm, UserPrompt& prompt, const std::string& display_name,
                   const WideText& service_name);
void stop_command(ServiceManager& scm, UserPrompt& prompt, Pause& pause,
                  const std::string& display_name, const WideText& service_name);

}  // namespace quorvel
