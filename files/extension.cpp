#include "files/extension.h"

#include "text/cp932.h"

namespace quorvel {
namespace {

bool is_separator(char byte) { return byte == '\\' || byte == '/' || byte == ':'; }

// The length of the path without its extension.
std::size_t extension_start(const std::string& path) {
    std::size_t component = 0;
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (is_cp932_lead_byte(static_cast<unsigned char>(path[i]))) {
            ++i;
        } else if (is_separator(path[i])) {
            component = i + 1;
            dot = std::string::npos;
        } else if (path[i] == '.') {
            dot = i;
        }
    }
    return dot != std::string::npos && dot >= component ? dot : path.size();
}

}  // namespace

std::string find_extension(const std::string& path) {
    const std::size_t dot = extension_start(path);
    return dot < path.size() ? path.substr(dot + 1) : std::string();
}

std::string with_extension(const std::string& path, const char* extension) {
    return path.substr(0, extension_start(path)) + extension;
}

}  // namespace quorvel
