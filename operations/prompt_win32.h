// Message boxes and pauses on the platform.
#pragma once

#include <windows.h>

#include "operations/prompt.h"

namespace quorvel {

class Win32Prompt : public UserPrompt {
public:
    explicit Win32Prompt(HWND owner) : owner_(owner) {}
    [[nodiscard]] int message_box(const std::string& text, const std::string& caption,
                                  unsigned flags) override {
        return MessageBoxA(owner_, text.c_str(), caption.c_str(), flags);
    }

private:
    HWND owner_;
};

class Win32Pause : public Pause {
public:
    void sleep_ms(unsigned milliseconds) override { Sleep(milliseconds); }
};

}  // namespace quorvel
