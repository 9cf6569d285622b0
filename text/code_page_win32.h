// The system's ANSI code page through the platform's own conversion.
#pragma once

#include "text/code_page.h"

namespace quorvel {

class Win32CodePage : public CodePage {
public:
    [[nodiscard]] std::string to_ansi(const WideText& text) override;
    [[nodiscard]] WideText to_wide(const std::string& text) override;
};

}  // namespace quorvel
