#include "operations/system_paths_win32.h"

#include <windows.h>

#include "platform/system_library_win32.h"
#include "platform/unique_handle_win32.h"
#include "text/wide_text_win32.h"

namespace quorvel {

namespace {

// "@file,-id": the file and the string's number.
bool split_reference(const WideText& reference, WideText& file, UINT& id) {
    const std::size_t comma = reference.rfind(u',');
    if (reference.size() < 2 || reference[0] != u'@' || comma == WideText::npos ||
        comma + 2 >= reference.size() || reference[comma + 1] != u'-')
        return false;
    id = 0;
    for (std::size_t i = comma + 2; i < reference.size(); ++i) {
        if (reference[i] < u'0' || reference[i] > u'9' || id > 0xFFFF) return false;
        id = id * 10 + (reference[i] - u'0');
    }
    file = reference.substr(1, comma - 1);
    return !file.empty();
}

}  // namespace

std::string Win32SystemPaths::system_directory() { return system_directory_path(); }

std::string Win32SystemPaths::expand_environment(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string expanded(size, '\0');
    if (ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size) == 0) return text;
    return expanded.c_str();
}

WideText Win32SystemPaths::expand_environment(const WideText& text) {
    const DWORD size = ExpandEnvironmentStringsW(wide(text), nullptr, 0);
    if (size == 0) return text;
    WideText expanded(size, u'\0');
    if (ExpandEnvironmentStringsW(wide(text), writable(expanded), size) == 0) return text;
    return expanded.c_str();
}

bool Win32SystemPaths::load_indirect_text(const WideText& reference, WideText& text) {
    WideText file;
    UINT id = 0;
    if (!split_reference(reference, file, id)) return false;
    // Opened only for its resources: nothing of it runs.
    const Module module(LoadLibraryExW(wide(expand_environment(file)), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return false;
    const wchar_t* resource = nullptr;
    // Length 0 asks for a pointer to the resource's own text.
    const int length = LoadStringW(module.get(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) return false;
    text.assign(units_of(resource), static_cast<std::size_t>(length));
    return true;
}

}  // namespace quorvel
