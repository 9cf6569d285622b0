#include "operations/recreation_check.h"

#include "history/record_format.h"
#include "text/user_texts.h"

namespace quorvel {

bool may_recreate(bool under_wow64, const HistoryStore& history, int index, UserPrompt& prompt) {
    if (!under_wow64) return true;
    if (index < 0 || static_cast<std::size_t>(index) >= history.records.size()) return false;
    const std::string display_name = split_record(history.records[index])[COL_NAME];
    return prompt.message_box(format_message(WOW64_QUESTION, display_name),
                              RESTORE_CONFIRMATION_CAPTION,
                              BOX_YESNO | BOX_ICONWARNING | BOX_DEFBUTTON2) == ANSWER_YES;
}

}  // namespace quorvel
