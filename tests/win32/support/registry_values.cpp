#include "tests/win32/support/registry_values.h"

#include <gtest/gtest.h>

namespace tarnwell::testing {

RegistryValues::~RegistryValues() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(it->root, it->key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) continue;
        if (it->existed)
            ::RegSetValueExA(key, it->value.c_str(), 0, it->type, it->data.data(), static_cast<DWORD>(it->data.size()));
        else
            ::RegDeleteValueA(key, it->value.c_str());
        ::RegCloseKey(key);
    }
}

void RegistryValues::Set(HKEY root, const std::string& key, const std::string& value, std::optional<std::string> data) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &handle, nullptr), 0)
        << key;
    Saved saved{root, key, value, false, 0, {}};
    DWORD size = 0;
    if (::RegQueryValueExA(handle, value.c_str(), nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
        saved.data.resize(size);
        saved.existed = ::RegQueryValueExA(handle, value.c_str(), nullptr, &saved.type, saved.data.data(), &size) ==
                        ERROR_SUCCESS;
    }
    saved_.push_back(saved);
    LONG result = ERROR_SUCCESS;
    if (data)
        result = ::RegSetValueExA(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
                                  static_cast<DWORD>(data->size() + 1));
    else
        ::RegDeleteValueA(handle, value.c_str());
    ::RegCloseKey(handle);
    ASSERT_EQ(result, ERROR_SUCCESS) << key << "\\" << value;
}

namespace {

std::optional<RegistryKeys::Tree> ReadTree(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
    RegistryKeys::Tree tree;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (::RegEnumValueA(handle, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        RegistryKeys::Value value{std::string(name, nameSize), type, std::vector<BYTE>(size)};
        nameSize = sizeof name;
        if (::RegEnumValueA(handle, i, name, &nameSize, nullptr, &type, value.data.data(), &size) == ERROR_SUCCESS)
            tree.values.push_back(std::move(value));
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (::RegEnumKeyExA(handle, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string subkey(name, nameSize);
        if (auto sub = ReadTree(root, key + "\\" + subkey)) tree.subkeys.emplace_back(subkey, std::move(*sub));
    }
    ::RegCloseKey(handle);
    return tree;
}

void WriteTree(HKEY root, const std::string& key, const RegistryKeys::Tree& tree) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    for (const RegistryKeys::Value& value : tree.values)
        ::RegSetValueExA(handle, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    ::RegCloseKey(handle);
    for (const auto& [name, sub] : tree.subkeys) WriteTree(root, key + "\\" + name, sub);
}

void DeleteTree(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
        std::vector<std::string> subkeys;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof name;
            if (::RegEnumKeyExA(handle, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            subkeys.emplace_back(name, nameSize);
        }
        ::RegCloseKey(handle);
        for (const std::string& sub : subkeys) DeleteTree(root, key + "\\" + sub);
    }
    ::RegDeleteKeyA(root, key.c_str());
}

}  // namespace

void RegistryKeys::Save(HKEY root, const std::string& key) { saved_.push_back({root, key, ReadTree(root, key)}); }

RegistryKeys::~RegistryKeys() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        DeleteTree(it->root, it->key);
        if (it->tree) WriteTree(it->root, it->key, *it->tree);
    }
}

}  // namespace tarnwell::testing
