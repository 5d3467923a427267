#pragma once
// The settings file: each stored control property read back at start-up
// and written at exit, in the order of the control table.
#include <functional>
#include <string>

namespace tarnwell {

class TControl;

// Finds the live control for a declaration's ID (null if it has none).
using ControlLookup = std::function<TControl*(int id)>;

class TFormStorage {
public:
    explicit TFormStorage(ControlLookup lookup) : lookup_(std::move(lookup)) {}

    void SetIniFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& IniFileName() const { return fileName_; }

    // Reads every stored property, using the control's current value as the
    // default, and assigns it (which runs the control's handlers on change).
    void RestoreFormPlacement();
    // Writes "FormVersion" and every stored property. Stops at the first
    // write that fails and returns false (the keys written so far stay).
    bool SaveFormPlacement();

    static constexpr const char* kSection = "Settings";

private:
    std::string ReadKey(const std::string& key, const std::string& fallback) const;

    ControlLookup lookup_;
    std::string fileName_;
};

}  // namespace tarnwell
