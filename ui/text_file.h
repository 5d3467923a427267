#pragma once
// Whole-file reads through the Win32 file calls. The C++ file streams of the
// runtime import msvcrt's _fstat64 and _wfopen, which the msvcrt.dll of
// Windows 95, 98 and ME lacks, so the shipped programs do not use them.
#include <optional>
#include <string>

namespace tarnwell {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The calling thread's last error, or `fallback` when a failing call left
// none (the file calls of the 95 family do not always set one).
unsigned long LastErrorOr(unsigned long fallback);

// Writes `text` as the whole file, created or emptied first, and flushes it
// to the disk before closing; ERROR_SUCCESS or the failing call's error.
unsigned long WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace tarnwell
