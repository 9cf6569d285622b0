#include "platform/system_library_win32.h"

namespace quorvel {

namespace {

// From the system's headers; not declared by every toolchain.
const DWORD SEARCH_SYSTEM32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

std::string system_directory_path() {
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory, length);
}

void restrict_library_search() {
    // Looked up in kernel32, which every process has loaded: older systems
    // lack the call.
    const auto set_directories = library_function<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (set_directories)
        set_directories(SEARCH_SYSTEM32);
    else
        SetDllDirectoryA("");  // older systems: at least the current directory goes
}

HMODULE system_library(const char* dll_name) {
    const std::string directory = system_directory_path();
    if (directory.empty()) return nullptr;
    const std::string path = directory + "\\" + dll_name;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace quorvel
