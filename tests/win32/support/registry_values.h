#pragma once
// Registry values changed for one test and put back afterwards.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/win.h"

namespace tarnwell::testing {

// Sets registry string values for the life of the object, then puts back
// exactly what was there (type included: the shell rewrites its folder
// values from expandable strings) or removes what was not.
class RegistryValues {
public:
    RegistryValues() = default;
    ~RegistryValues();
    RegistryValues(const RegistryValues&) = delete;
    RegistryValues& operator=(const RegistryValues&) = delete;

    // `data` none removes the value. The test fails at once when the key
    // cannot be opened or made.
    void Set(HKEY root, const std::string& key, const std::string& value, std::optional<std::string> data);

private:
    struct Saved {
        HKEY root;
        std::string key, value;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Saved> saved_;
};

// Whole registry keys a test may clear and fill as it likes: each one is
// copied when saved, and at the end put back exactly as it was (values,
// types and subkeys), or removed if it did not exist.
class RegistryKeys {
public:
    RegistryKeys() = default;
    ~RegistryKeys();
    RegistryKeys(const RegistryKeys&) = delete;
    RegistryKeys& operator=(const RegistryKeys&) = delete;

    void Save(HKEY root, const std::string& key);

    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Tree {
        std::vector<Value> values;
        std::vector<std::pair<std::string, Tree>> subkeys;
    };

private:
    struct Saved {
        HKEY root;
        std::string key;
        std::optional<Tree> tree;  // none: the key did not exist
    };
    std::vector<Saved> saved_;
};

}  // namespace tarnwell::testing
