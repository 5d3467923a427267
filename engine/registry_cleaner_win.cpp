#include "engine/registry_cleaner.h"

#include <vector>

#include "base/handles.h"

namespace tarnwell {

namespace {

std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    DWORD count = 0, longest = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> name(longest + 2);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result = ::RegEnumValueA(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            name.resize(name.size() * 2 + 256);
            --i;
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

bool KeyExists(HKEY root, const std::string& key) {
    RegKey handle;
    const LONG result = ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.put());
    // A key that exists but may not be read still exists.
    return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

void WriteString(HKEY key, const std::string& value, const std::string& text) {
    ::RegSetValueExA(key, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

// REG_SZ alone: other kinds keep their type until they are deleted.
bool HoldsString(HKEY key, const std::string& value) {
    DWORD type = REG_NONE;
    return ::RegQueryValueExA(key, value.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_SZ;
}

}  // namespace

void TRegistryItem::Found(HKEY root, const std::string& key, const std::string& name, bool isKey) const {
    if (hooks_.Found && hooks_.Found->found) hooks_.Found->found(root, key, name, isKey);
}

void TRegistryItem::Add(int contribution) {
    if (rule_ == CountRule::All) {
        total_ += contribution;
        return;
    }
    total_ += contribution - 1;
    if (total_ < 0) total_ = 0;
}

int TRegistryItem::PassOverValues(HKEY root, const std::string& keyName, ValueListOptions options,
                                  std::vector<std::string>* subkeyNames) {
    RegKey key;
    if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return 0;
    const std::vector<std::string> names = ValueNames(key.get());
    for (const std::string& name : names) Found(root, keyName, name, false);
    if (sweep_) {
        for (const std::string& name : names) {
            if (options.keepMRUList && name == "MRUList") {
                WriteString(key.get(), name, "");
                continue;
            }
            if (options.overwrite && (!options.stringsOnly || HoldsString(key.get(), name))) {
                WriteString(key.get(), name, kBlankText);
                if (hooks_.ValueOverwritten) hooks_.ValueOverwritten(root, keyName, name);
            }
            ::RegDeleteValueA(key.get(), name.c_str());
        }
    }
    if (subkeyNames) *subkeyNames = SubkeyNames(key.get());
    if (sweep_) ::RegFlushKey(key.get());
    key.reset();
    if (sweep_ && hooks_.ProcessMessages) hooks_.ProcessMessages();
    return static_cast<int>(names.size());
}

void TRegistryItem::ValueList(HKEY root, const std::string& key, ValueListOptions options) {
    if (!KeyExists(root, key)) return;
    Add(PassOverValues(root, key, options, nullptr));
}

void TRegistryItem::SingleValue(HKEY root, const std::string& keyName, const std::string& value) {
    RegKey key;
    if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    if (::RegQueryValueExA(key.get(), value.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
    ++total_;
    Found(root, keyName, value, false);
    if (!sweep_) return;
    if (HoldsString(key.get(), value)) {
        WriteString(key.get(), value, kBlankText);
        if (hooks_.ValueOverwritten) hooks_.ValueOverwritten(root, keyName, value);
    }
    ::RegDeleteValueA(key.get(), value.c_str());
}

void TRegistryItem::ValueListWithSubkeys(HKEY root, const std::string& key, ValueListOptions options,
                                         ValueListOptions subkeyOptions) {
    if (!KeyExists(root, key)) return;
    std::vector<std::string> subkeys;
    Add(PassOverValues(root, key, options, &subkeys));
    for (const std::string& subkey : subkeys) ValueList(root, key + "\\" + subkey, subkeyOptions);
}

void TRegistryItem::KeyList(HKEY root, const std::string& base) {
    for (int i = 1; i <= 8; ++i) {
        const std::string key = base + std::to_string(i);
        if (KeyExists(root, key)) {
            ++total_;
            const std::size_t slash = key.find_last_of('\\');
            Found(root, slash == std::string::npos ? std::string() : key.substr(0, slash), key.substr(slash + 1), true);
            if (sweep_) DeleteKeyTree(root, key);
        }
        if (hooks_.ProcessMessages) hooks_.ProcessMessages();
    }
}

void TRegistryItem::ValueSize(HKEY root, const std::string& keyName, const std::string& value) {
    RegKey key;
    if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), value.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return;
    total_ += static_cast<int>(size);
    Found(root, keyName, value, false);
    if (sweep_) ::RegDeleteValueA(key.get(), value.c_str());
}

void TRegistryItem::SubkeysOf(HKEY root, const std::string& keyName) {
    std::vector<std::string> subkeys;
    {
        RegKey key;
        if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return;
        subkeys = SubkeyNames(key.get());
    }
    for (const std::string& subkey : subkeys) Found(root, keyName, subkey, true);
    if (sweep_) {
        for (const std::string& subkey : subkeys) DeleteKeyTree(root, keyName + "\\" + subkey);
        if (hooks_.ProcessMessages) hooks_.ProcessMessages();
    }
    total_ += static_cast<int>(subkeys.size());
}

bool DeleteKeyTree(HKEY root, const std::string& keyName) {
    {
        RegKey key;
        if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return false;
        for (const std::string& subkey : SubkeyNames(key.get())) DeleteKeyTree(key.get(), subkey);
    }
    return ::RegDeleteKeyA(root, keyName.c_str()) == ERROR_SUCCESS;
}

}  // namespace tarnwell
