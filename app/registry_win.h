#pragma once
// Registry reads and writes the start-up code needs, with failures turned
// into values.
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

bool RegistryKeyExists(HKEY root, const char* key);
// A string value as stored (an expandable string is not expanded); none
// when the key or value is missing or not a string. `value` "" reads the
// key's default value.
std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value);

}  // namespace tarnwell
