#include "app/path_macros.h"

#include <cctype>

namespace tarnwell {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string ReplaceAllNoCase(std::string_view text, std::string_view macro, std::string_view value) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (!macro.empty() && i + macro.size() <= text.size() && EqualNoCase(text.substr(i, macro.size()), macro)) {
            out += value;
            i += macro.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string WithTrailingBackslash(std::string text) {
    if (text.empty() || text.back() != '\\') text += '\\';
    return text;
}

std::string WithoutTrailingBackslash(std::string text) {
    while (!text.empty() && text.back() == '\\') text.pop_back();
    return text;
}

std::string ExpandMacros(std::string_view path, std::string_view profileRoot, std::string_view userName) {
    const std::string_view drive = profileRoot.substr(0, 2);
    const std::string result = ReplaceAllNoCase(path, "%DRIVE%", drive);
    return ReplaceAllNoCase(result, "%USERNAME%", userName);
}

std::string ExpandPathMacros(std::string_view path, std::string_view profileRoot, std::string_view userName) {
    return WithTrailingBackslash(ExpandMacros(path, profileRoot, userName));
}

}  // namespace tarnwell
