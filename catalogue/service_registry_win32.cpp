// The services' registry keys over advapi32: single values, the subkeys
// and every value of a key, creating keys and writing values. Any answer
// the registry does not give plainly is `unknown`, never "nothing there".
#include "catalogue/service_registry_win32.h"

#include <windows.h>

#include "platform/unique_handle_win32.h"
#include "text/wide_text_win32.h"

namespace quorvel {
namespace {

// A key of HKEY_LOCAL_MACHINE opened with `access`, or why it did not open.
struct OpenedKey {
    RegKey key;
    LONG result = ERROR_SUCCESS;

    RegistryRead failure() const {
        return result == ERROR_FILE_NOT_FOUND ? RegistryRead::no_key : RegistryRead::unknown;
    }
};

OpenedKey open_key(const WideText& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, access, &key);
    return {RegKey(result == ERROR_SUCCESS ? key : nullptr), result};
}

// Buffer sizes for the key's longest subkey name and value name in
// characters, and its longest value data in bytes, terminators included.
struct KeySizes {
    DWORD subkey_name = 0;
    DWORD value_name = 0;
    DWORD value_data = 0;
};

bool query_sizes(HKEY key, KeySizes& sizes) {
    DWORD subkey = 0, name = 0, data = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &subkey, nullptr, nullptr,
                         &name, &data, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    sizes = {subkey + 1, name + 1, data + 2};
    return true;
}

enum class Enumerated { item, done, failed };

Enumerated enumerated(LONG result) {
    if (result == ERROR_SUCCESS) return Enumerated::item;
    return result == ERROR_NO_MORE_ITEMS ? Enumerated::done : Enumerated::failed;
}

// The sizes are taken again for every index: a key can change while it is
// listed, and a name that still does not fit is a failure, not an end.
Enumerated enumerate_subkey(HKEY key, DWORD index, WideText& name) {
    KeySizes sizes;
    if (!query_sizes(key, sizes)) return Enumerated::failed;
    WideText buffer(sizes.subkey_name, u'\0');
    DWORD length = sizes.subkey_name;
    const Enumerated result = enumerated(RegEnumKeyExW(key, index, writable(buffer), &length,
                                                       nullptr, nullptr, nullptr, nullptr));
    if (result == Enumerated::item) name.assign(buffer.data(), length);
    return result;
}

Enumerated enumerate_value(HKEY key, DWORD index, RegistryValue& value) {
    KeySizes sizes;
    if (!query_sizes(key, sizes)) return Enumerated::failed;
    WideText name(sizes.value_name, u'\0');
    std::string data(sizes.value_data, '\0');
    DWORD name_length = sizes.value_name;
    DWORD data_size = sizes.value_data;
    DWORD type = 0;
    const Enumerated result =
        enumerated(RegEnumValueW(key, index, writable(name), &name_length, nullptr, &type,
                                 reinterpret_cast<BYTE*>(&data[0]), &data_size));
    if (result == Enumerated::item)
        value = {name.substr(0, name_length), type, data.substr(0, data_size)};
    return result;
}

// Lists the key's items with `enumerate` until the registry says there are
// no more; any other error makes the list unknown.
template <typename Item, typename Enumerate>
RegistryRead list_items(const WideText& key_path, std::vector<Item>& items,
                        Enumerate enumerate) {
    const OpenedKey opened = open_key(key_path, KEY_READ);
    if (!opened.key) return opened.failure();
    std::vector<Item> found;
    for (DWORD index = 0;; ++index) {
        Item item;
        switch (enumerate(opened.key.get(), index, item)) {
        case Enumerated::item:
            found.push_back(item);
            break;
        case Enumerated::done:
            items.swap(found);
            return RegistryRead::found;
        case Enumerated::failed:
            return RegistryRead::unknown;
        }
    }
}

}  // namespace

RegistryRead Win32ServiceRegistry::read_value(const WideText& key_path,
                                              const WideText& value_name, std::string& bytes) {
    const OpenedKey opened = open_key(key_path, KEY_READ);
    if (!opened.key) return opened.failure();
    // Most values fit the usual 260 bytes; a longer one is read again with
    // the size it reported, and again should it grow meanwhile.
    std::string buffer(260, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(buffer.size());
        const LONG result = RegQueryValueExW(opened.key.get(), wide(value_name), nullptr, &type,
                                             reinterpret_cast<BYTE*>(&buffer[0]), &size);
        if (result == ERROR_SUCCESS) {
            bytes = buffer.substr(0, size);
            return RegistryRead::found;
        }
        if (result == ERROR_FILE_NOT_FOUND) return RegistryRead::no_value;
        if (result != ERROR_MORE_DATA) return RegistryRead::unknown;
        buffer.assign(size, '\0');
    }
    return RegistryRead::unknown;
}

RegistryRead Win32ServiceRegistry::list_subkeys(const WideText& key_path,
                                                std::vector<WideText>& names) {
    return list_items(key_path, names, enumerate_subkey);
}

RegistryRead Win32ServiceRegistry::list_values(const WideText& key_path,
                                               std::vector<RegistryValue>& values) {
    return list_items(key_path, values, enumerate_value);
}

bool Win32ServiceRegistry::create_key(const WideText& key_path) {
    HKEY created = nullptr;
    const LONG result =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(key_path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &created, nullptr);
    // Made or found only so that it exists: closed again at once.
    const RegKey key(result == ERROR_SUCCESS ? created : nullptr);
    return result == ERROR_SUCCESS;
}

bool Win32ServiceRegistry::write_value(const WideText& key_path, const RegistryValue& value) {
    const OpenedKey opened = open_key(key_path, KEY_SET_VALUE);
    return opened.key &&
           RegSetValueExW(opened.key.get(), wide(value.name), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

}  // namespace quorvel
