#include "operations/service_commands_win32.h"

namespace quorvel {

INT_PTR run_restore_dialog() { return 0; }

}  // namespace quorvel
