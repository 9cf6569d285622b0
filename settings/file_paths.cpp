#include "settings/file_paths.h"

#include "text/cp932.h"

namespace quorvel {
namespace {

bool is_separator(char byte) { return byte == '\\' || byte == '/' || byte == ':'; }

// The length of the path without its extension. The walk steps over
// double-byte characters whole: a trail byte can be 0x5C, the backslash.
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

std::string with_extension(const std::string& path, const char* extension) {
    return path.substr(0, extension_start(path)) + extension;
}

}  // namespace

std::string settings_path(const std::string& executable_path) {
    return with_extension(executable_path, ".ini");
}

std::string history_path(const std::string& executable_path) {
    return with_extension(executable_path, ".his");
}

std::string find_extension(const std::string& path) {
    const std::size_t dot = extension_start(path);
    return dot < path.size() ? path.substr(dot + 1) : std::string();
}

std::string snapshot_folder_path(const std::string& executable_path) {
    return with_extension(executable_path, ".snapshots");
}

std::optional<std::string> whole_text(const FillBuffer& fill, std::size_t first_size,
                                      std::size_t largest_size) {
    for (std::size_t size = first_size; size > 0 && size <= largest_size; size *= 2) {
        std::string buffer(size, '\0');
        const std::size_t length = fill(&buffer[0], size);
        if (length == 0) return std::nullopt;
        if (length < size) return buffer.substr(0, length);
    }
    return std::nullopt;
}

}  // namespace quorvel
