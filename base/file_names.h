#pragma once
// Path text helpers of the sweep engine. Portable.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwell {

// Everything up to and including the last "\" or ":"; empty if none.
std::string_view ExtractFilePath(std::string_view fileName);
// From the last "." after the last "\" or ":", dot included; empty if none.
std::string_view ExtractFileExt(std::string_view fileName);
// Directory and name joined with one "\" (none added after a trailing "\"
// or when the directory is empty).
std::string JoinPath(std::string_view directory, std::string_view name);
// A program path as the first word of a command line: in double quotes, so
// that Windows never reads the part before a blank as a program of its own
// ("C:\Program Files\x.exe" run as "C:\Program.exe"). A path that is
// already quoted comes back unchanged.
std::string QuotedProgramPath(std::string_view path);

// Whether two paths are the same text without regard to ASCII letter case.
bool SamePath(std::string_view a, std::string_view b);
// Whether `path` names something strictly inside `folder` (at any depth),
// comparing without regard to ASCII letter case; a trailing "\" on the
// folder is optional. Both are taken as written: no "." or ".." steps.
bool LiesBelow(std::string_view path, std::string_view folder);

// The meaningless name a file gets on each removal pass: the directory of
// `current`, "~", `number` read as a signed 32-bit value, and the
// extension of the name the removal started with.
std::string ScrambledName(std::string_view current, std::uint32_t number, std::string_view originalName);

// Upper bound (exclusive) of the number drawn for a scrambled name.
inline constexpr std::uint32_t kScrambleRange = 0xA4C67FFFu;

}  // namespace tarnwell
