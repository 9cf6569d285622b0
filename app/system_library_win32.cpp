#include "app/system_library_win32.h"

#include <string>

namespace quorvel {

namespace {

// From the system's headers; not declared by every toolchain.
const DWORD SEARCH_SYSTEM32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

std::string system_directory() {
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory, length);
}

}  // namespace

void restrict_library_search() {
    const auto set_directories = loaded_function_as<SetDefaultDllDirectoriesFunction>(
        "kernel32.dll", "SetDefaultDllDirectories");
    if (set_directories)
        set_directories(SEARCH_SYSTEM32);
    else
        SetDllDirectoryA("");  // older systems: at least the current directory goes
}

FARPROC system_function(const char* dll_name, const char* function_name) {
    const std::string directory = system_directory();
    if (directory.empty()) return nullptr;
    const std::string path = directory + "\\" + dll_name;
    // By full path, and the DLL's own imports looked up from its folder.
    // It stays loaded for the life of the process.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? GetProcAddress(module, function_name) : nullptr;
}

}  // namespace quorvel
