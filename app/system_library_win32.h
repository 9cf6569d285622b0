// DLLs taken from the system directory only. The program runs elevated and
// is often started from a downloads folder, where a planted DLL of a common
// name would otherwise be loaded in its place.
#pragma once

#include <windows.h>

namespace quorvel {

// Narrows every later library search of the process to the system
// directory. Called first thing at start-up.
void restrict_library_search();

// The named function of a DLL loaded by its full system-directory path;
// null when the DLL or the function is missing.
FARPROC system_function(const char* dll_name, const char* function_name);

// A function pointer of its own type; null stays null.
template <typename Function>
Function function_as(FARPROC function) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(function));
}

// The same, as a typed function pointer.
template <typename Function>
Function system_function_as(const char* dll_name, const char* function_name) {
    return function_as<Function>(system_function(dll_name, function_name));
}

// A function of a DLL the process has loaded already (kernel32), looked up
// because older systems lack it; null there.
template <typename Function>
Function loaded_function_as(const char* dll_name, const char* function_name) {
    const HMODULE module = GetModuleHandleA(dll_name);
    return function_as<Function>(module ? GetProcAddress(module, function_name) : nullptr);
}

}  // namespace quorvel
