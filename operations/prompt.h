// How the operations talk to the user and wait: message boxes and pauses,
// as seams that the tests replace.
#pragma once

#include <string>

namespace quorvel {

// Message box flags and answers, with the platform's values.
enum : unsigned {
    BOX_OK = 0x0,
    BOX_YESNO = 0x4,
    BOX_ICONERROR = 0x10,
    BOX_ICONWARNING = 0x30,
    BOX_DEFBUTTON2 = 0x100,
};
enum : int {
    ANSWER_OK = 1,
    ANSWER_YES = 6,
    ANSWER_NO = 7,
};

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A modal message box owned by the prompt's window; gives the answer.
    [[nodiscard]] virtual int message_box(const std::string& text, const std::string& caption,
                                          unsigned flags) = 0;
    // A message box with OK alone: its one answer tells nothing.
    void tell(const std::string& text, const std::string& caption, unsigned flags) {
        (void)message_box(text, caption, flags);
    }
};

class Pause {
public:
    virtual ~Pause() = default;
    virtual void sleep_ms(unsigned milliseconds) = 0;
};

// `pattern` with its one "%s" replaced by `name`, whole, however long.
std::string format_message(const char* pattern, const std::string& name);

}  // namespace quorvel
