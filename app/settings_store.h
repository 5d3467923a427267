#pragma once
// The settings file: each stored control property read back at start-up
// and written at exit, in the order of the control table.
#include <functional>
#include <string>

#include "base/ini_text.h"
#include "base/win.h"

namespace tarnwell {

class TControl;

// Finds the live control for a declaration's ID (null if it has none).
using ControlLookup = std::function<TControl*(int id)>;

class TFormStorage {
public:
    explicit TFormStorage(ControlLookup lookup) : lookup_(std::move(lookup)) {}

    void SetIniFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& IniFileName() const { return fileName_; }

    // Reads every stored property from the file's text as read at start-up,
    // using the control's current value as the default, and assigns it
    // (which runs the control's handlers on change).
    void RestoreFormPlacement(const IniText& settings);
    // Writes "FormVersion" and every stored property into the section, all
    // in one replacement of the file (app/settings_file_win.h): every other
    // key and section stays. ERROR_SUCCESS, or the error that left the file
    // as it was.
    DWORD SaveFormPlacement();

    static constexpr const char* kSection = "Settings";

private:
    ControlLookup lookup_;
    std::string fileName_;
};

}  // namespace tarnwell
