// Whole keys of the services' registry: every value of a key, creating keys
// and writing values, for the snapshots of deleted services.
#include <windows.h>

#include "catalogue/service_manager_win32.h"

namespace quorvel {
namespace {

class RegKey {
public:
    RegKey(const std::string& path, REGSAM access) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

enum class Enumerated { value, done, failed };

// One value by its index; its name and data buffers sized from the key's
// own report of its longest name and data. That report counts Unicode
// characters of names, which can take two bytes each in the code page.
Enumerated enumerate_value(HKEY key, DWORD index, RegistryValue& value) {
    DWORD longest_name = 0, longest_data = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest_name, &longest_data, nullptr, nullptr) != ERROR_SUCCESS)
        return Enumerated::failed;
    std::string name(2 * longest_name + 2, '\0');
    std::string data(longest_data + 1, '\0');
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD data_size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const LONG result =
        RegEnumValueA(key, index, &name[0], &name_length, nullptr, &type,
                      reinterpret_cast<BYTE*>(&data[0]), &data_size);
    if (result == ERROR_NO_MORE_ITEMS) return Enumerated::done;
    if (result != ERROR_SUCCESS) return Enumerated::failed;
    value = {name.substr(0, name_length), type, data.substr(0, data_size)};
    return Enumerated::value;
}

}  // namespace

bool Win32ServiceRegistry::list_values(const std::string& key_path,
                                       std::vector<RegistryValue>& values) {
    RegKey key(key_path, KEY_QUERY_VALUE);
    if (!key) return false;
    values.clear();
    for (DWORD index = 0;; ++index) {
        RegistryValue value;
        switch (enumerate_value(key.get(), index, value)) {
        case Enumerated::value:
            values.push_back(value);
            break;
        case Enumerated::done:
            return true;
        case Enumerated::failed:
            return false;
        }
    }
}

bool Win32ServiceRegistry::create_key(const std::string& key_path) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegKey key(created);
    return true;
}

bool Win32ServiceRegistry::write_value(const std::string& key_path, const RegistryValue& value) {
    RegKey key(key_path, KEY_SET_VALUE);
    return key && RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                                 reinterpret_cast<const BYTE*>(value.data.data()),
                                 static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

}  // namespace quorvel
