#include "operations/recreation_check.h"

#include "history/record_format.h"

namespace quorvel {

const char* const WOW64_QUESTION =
    "このプログラムは 32 ビット版です。64 ビット版 Windows では、%s は 32 ビットの"
    "サービスとして作り直され、正しく動かないことがあります。\r\n"
    "64 ビット版の quorvel で復活することをお勧めします。このまま続けますか？";
const char* const WOW64_CAPTION = "復活の確認";

bool may_recreate(bool under_wow64, const HistoryStore& history, int index, UserPrompt& prompt) {
    if (!under_wow64) return true;
    if (index < 0 || static_cast<std::size_t>(index) >= history.records.size()) return false;
    const std::string display_name = split_record(history.records[index])[COL_NAME];
    return prompt.message_box(format_message(WOW64_QUESTION, display_name), WOW64_CAPTION,
                              BOX_YESNO | BOX_ICONWARNING | BOX_DEFBUTTON2) == ANSWER_YES;
}

}  // namespace quorvel
