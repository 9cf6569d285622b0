// The system's code page (932 here) as a seam: the texts the user reads,
// the list, the history and the saved lists are made from the system's
// wide texts by the very conversion the platform's ANSI calls apply
// (best fit: "é" becomes "e", "™" becomes "?"), and texts of older files
// go back to wide texts the same way.
#pragma once

#include <string>

#include "text/wide_text.h"

namespace quorvel {

class CodePage {
public:
    virtual ~CodePage() = default;
    // The text as an ANSI call of the platform would hand it over.
    [[nodiscard]] virtual std::string to_ansi(const WideText& text) = 0;
    // A code page text as the platform reads it.
    [[nodiscard]] virtual WideText to_wide(const std::string& text) = 0;
};

}  // namespace quorvel
