#include "app/registry_win.h"

#include <vector>

#include "base/handles.h"

namespace tarnwell {

bool RegistryKeyExists(HKEY root, const char* key) {
    RegKey handle;
    return ::RegOpenKeyExA(root, key, 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
}

std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value) {
    RegKey handle;
    if (::RegOpenKeyExA(root, key, 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(handle.get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(handle.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data.data());
}

}  // namespace tarnwell
