#pragma once
// Letter case set aside, as the program compares names, hosts, keys and
// markers: ASCII letters only, the same on every code page. Portable.
#include <string>
#include <string_view>

namespace tarnwell {

char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace tarnwell
