#pragma once
// settings.ini read and written as a whole. A save reads the current text,
// applies one caller's change to it (its own keys and sections; everything
// else is carried over) and puts the new text in place in one step, so the
// file on disk is always either the old one or the new one, never a mix.
#include <functional>
#include <optional>
#include <string>

#include "base/ini_text.h"
#include "base/win.h"

namespace tarnwell {

// Applies `change` to the file's text and replaces the file with the
// result: ERROR_SUCCESS, or the error of the step that failed, in which
// case the file is as it was. A read-only file is not replaced. A change
// that leaves the text as it was writes nothing.
DWORD UpdateSettingsFile(const std::string& path, const std::function<void(IniText&)>& change);

// The file's text, trying again for up to `patience` milliseconds while
// it cannot be read (another program holding it open without sharing);
// nothing if it stays unreadable.
std::optional<std::string> ReadSettingsFile(const std::string& path, DWORD patience);

}  // namespace tarnwell
