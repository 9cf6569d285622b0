#include "operations/service_commands_win32.h"

namespace quorvel {

void start_service_at(int) {}
void stop_service_at(int) {}

}  // namespace quorvel
