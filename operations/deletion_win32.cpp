#include "operations/service_commands_win32.h"

namespace quorvel {

void delete_selected_service() {}

}  // namespace quorvel
