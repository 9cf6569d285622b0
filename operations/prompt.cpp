#include "operations/prompt.h"

namespace quorvel {

std::string format_message(const char* pattern, const std::string& name) {
    std::string text = pattern;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

}  // namespace quorvel
