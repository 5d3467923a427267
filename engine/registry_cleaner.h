#pragma once
// The registry history items: each counts what it finds (Analyze) or
// destroys it and counts what it destroyed (Sweep). Values are first
// overwritten with the blank text where the item says so, so that their
// old data does not survive in the hive's free space.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win.h"

namespace tarnwell {

inline const std::string kBlankText(255, ' ');

enum class CountRule { All, LessOne };

struct ValueListOptions {
    bool overwrite = true;    // write the blank text before deleting
    bool keepMRUList = false; // "MRUList" is emptied, not deleted
    bool stringsOnly = false; // overwrite only values that hold a string (REG_SZ)
};

// Where the items report each value or key they count while a run is
// recorded for an item's details. Every copy of a set of hooks shares it,
// so the category engine can point it at the item that runs.
struct RegistryFindingSink {
    std::function<void(HKEY root, const std::string& key, const std::string& name, bool isKey)> found;
};

// Observation points: after every blank-text write, and the message-queue
// turn after each swept key (other handlers may run there).
struct RegistryHooks {
    std::function<void(HKEY root, const std::string& key, const std::string& value)> ValueOverwritten;
    std::function<void()> ProcessMessages;
    std::shared_ptr<RegistryFindingSink> Found = std::make_shared<RegistryFindingSink>();
};

// One item's running total under its count rule.
class TRegistryItem {
public:
    TRegistryItem(bool sweep, CountRule rule, const RegistryHooks& hooks) : sweep_(sweep), rule_(rule), hooks_(hooks) {}

    // The value-list pass over `key`, and, with `subkeys`, the same pass
    // (with `subkeyOptions`) over each of its subkeys afterwards.
    void ValueList(HKEY root, const std::string& key, ValueListOptions options);
    void ValueListWithSubkeys(HKEY root, const std::string& key, ValueListOptions options,
                              ValueListOptions subkeyOptions);
    // Keys base1 .. base8 deleted whole; one counted per key present.
    void KeyList(HKEY root, const std::string& base);
    // One value, counted when present; a sweep blanks it first when it
    // holds a string (REG_SZ), then deletes it.
    void SingleValue(HKEY root, const std::string& key, const std::string& value);
    // Adds the data size of "SearchStrings" and deletes it on a sweep.
    void ValueSize(HKEY root, const std::string& key, const std::string& value);
    // Counts the subkeys of `key` and deletes them (with all below) on a sweep.
    void SubkeysOf(HKEY root, const std::string& key);

    int Total() const { return total_; }
    bool Sweep() const { return sweep_; }

private:
    void Add(int contribution);
    int PassOverValues(HKEY root, const std::string& key, ValueListOptions options,
                       std::vector<std::string>* subkeyNames);
    void Found(HKEY root, const std::string& key, const std::string& name, bool isKey) const;

    bool sweep_;
    CountRule rule_;
    const RegistryHooks& hooks_;
    int total_ = 0;
};

// Deletes a key with everything below it (RegDeleteKey alone refuses a key
// with subkeys on the NT family).
bool DeleteKeyTree(HKEY root, const std::string& key);

}  // namespace tarnwell
