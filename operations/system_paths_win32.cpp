#include "operations/system_paths_win32.h"

#include <windows.h>

namespace quorvel {

std::string Win32SystemPaths::system_directory() {
    char directory[MAX_PATH] = "";
    GetSystemDirectoryA(directory, MAX_PATH);
    return directory;
}

std::string Win32SystemPaths::expand_environment(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string expanded(size, '\0');
    if (ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size) == 0) return text;
    return expanded.c_str();
}

}  // namespace quorvel
