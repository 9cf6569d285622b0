// A DLL planted beside quorvel.exe under the name of a system DLL. Loading
// it leaves a mark on disk: a file named after it with ".loaded" appended.
// Built without a C runtime, so that loading it runs nothing but this.
#include <windows.h>

extern "C" BOOL WINAPI planted_entry(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char mark[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameA(instance, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatA(mark, ".loaded");
    HANDLE file = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
