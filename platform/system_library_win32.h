// platform/: Win32 helpers under every *_win32.cpp: system directory, DLLs, lookup, handles.
//
// The thin helpers every Win32 file shares: DLLs taken from the system
// directory only, the one way to look up a function at run time, and the
// one owner of a platform handle (unique_handle_win32.h).
//
// The program runs elevated and is often started from a downloads folder,
// where a planted DLL of a common name would otherwise be loaded in its
// place; and functions that older systems lack are looked up, not imported.
#pragma once

#include <windows.h>

#include <string>

namespace quorvel {

// Narrows every later library search of the process to the system
// directory. Called first thing at start-up.
void restrict_library_search();

// The system directory, as the platform names it; empty when it cannot be
// had.
std::string system_directory_path();

// A DLL loaded by its full system-directory path, its own imports looked
// up from its folder; it stays loaded for the life of the process. Null
// when it is missing.
HMODULE system_library(const char* dll_name);

// The named function of `module` as a function pointer of its own type;
// null when the module is null or lacks the function.
template <typename Function>
Function library_function(HMODULE module, const char* function_name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(module, function_name)));
}

}  // namespace quorvel
