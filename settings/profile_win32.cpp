#include "settings/profile_win32.h"

#include <windows.h>

#include <cstring>

namespace quorvel {

int Win32Profile::read_int(const std::string& key, int default_value) {
    // A default no value can hold tells an absent key from a present one.
    static const char ABSENT[] = "\x01";
    char text[100] = "";
    GetPrivateProfileStringA(section_.c_str(), key.c_str(), ABSENT, text, sizeof text,
                             path_.c_str());
    if (std::strcmp(text, ABSENT) == 0) return profile_int(std::nullopt, default_value);
    return profile_int(std::string(text), default_value);
}

void Win32Profile::write_string(const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(section_.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

}  // namespace quorvel
