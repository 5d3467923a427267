#pragma once
// Whole-file reads through the Win32 file calls. The C++ file streams of the
// runtime import msvcrt's _fstat64 and _wfopen, which the msvcrt.dll of
// Windows 95, 98 and ME lacks, so the shipped programs do not use them.
#include <optional>
#include <string>

namespace tarnwell {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace tarnwell
