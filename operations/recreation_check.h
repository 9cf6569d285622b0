// The 32-bit program on 64-bit Windows: there the Service Control Manager
// records a service created by a 32-bit process as a 32-bit service, whose
// host then cannot load a 64-bit DLL. Before re-creating, the user is told
// and may stop; the 64-bit program has no such question.
#pragma once

#include "history/history_store.h"
#include "operations/prompt.h"

namespace quorvel {

// True when the record at `index` may be re-created: always outside WOW64;
// under it only when the user answers Yes to the warning (No is the
// default button).
[[nodiscard]] bool may_recreate(bool under_wow64, const HistoryStore& history, int index,
                                UserPrompt& prompt);

}  // namespace quorvel
