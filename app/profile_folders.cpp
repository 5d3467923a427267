#include "app/profile_folders.h"

#include <array>

#include "app/path_macros.h"
#include "base/text_case.h"

namespace tarnwell {

namespace {

// A non-empty text that differs from every default is the user's own
// choice, used only while it exists; otherwise the first existing default
// is used and shown in the edit.
FolderChoice Choose(const std::string& editText, std::initializer_list<std::string> defaults,
                    const ExistsTest& exists) {
    bool isDefault = editText.empty();
    for (const std::string& d : defaults) isDefault = isDefault || editText == d;
    if (!isDefault) return {exists(editText) ? std::optional<std::string>(editText) : std::nullopt, editText};
    for (const std::string& d : defaults)
        if (exists(d)) return {d, d};
    return {std::nullopt, editText};
}

}  // namespace

FolderChoice ChooseAolFolder(const std::string& aolPath, const std::string& editText, const ExistsTest& exists) {
    if (!editText.empty() && editText != aolPath && exists(editText)) return {editText, editText};
    if (exists(aolPath)) return {aolPath, aolPath};
    return {std::nullopt, editText};
}

FolderChoice ChooseNetscapeRoot(const std::string& profileRoot, const std::string& editText,
                                const ExistsTest& exists) {
    return Choose(editText, {profileRoot + "\\Application Data\\Mozilla\\Profiles\\"}, exists);
}

FolderChoice ChooseFireFoxRoot(const std::string& profileRoot, const std::string& editText,
                               const ExistsTest& exists) {
    const std::string roaming = profileRoot + "\\Application Data\\Mozilla\\FireFox\\Profiles\\";
    const std::string local = profileRoot + "\\Local Settings\\Application Data\\Mozilla\\FireFox\\Profiles\\";
    // The local default is tried only when the edit is empty or holds the
    // roaming default; a stored local path is treated as the user's own.
    if (!editText.empty() && editText != roaming) return Choose(editText, {roaming}, exists);
    return Choose(editText, {roaming, local}, exists);
}

FolderChoice ChooseOperaFolder(const std::string& profileRoot, const std::string& editText,
                               const ExistsTest& exists) {
    const std::string base = profileRoot + "\\Application Data\\Opera\\";
    FolderChoice choice =
        Choose(editText, {base + "Opera\\profile\\", base + "Opera7\\profile\\", base + "Opera6\\profile\\"}, exists);
    if (choice.folder) choice.folder = WithTrailingBackslash(*choice.folder);
    return choice;
}

bool IsAolScreenName(const std::string& name) {
    if (name.find('.') != std::string::npos || EqualNoCase(name, "CACHE")) return false;
    const std::string lower = LowerAscii(name);
    return lower != "existingmember" && lower != "aolpasswordreset" && lower != "newuser";
}

std::string AolOrganizeFolder(std::string picked, const ExistsTest& exists) {
    picked = WithTrailingBackslash(std::move(picked));
    if (picked.find("organize\\") == std::string::npos && exists(picked + "organize\\")) picked += "organize\\";
    return picked;
}

std::string ManualPathQuestion(const std::string& path, const std::string& word) {
    if (LowerAscii(path).find(LowerAscii(word)) != std::string::npos)
        return "It is extremely dangerous to set this path manually but " + word +
               " was detected in the path. Do you want to continue?";
    return word + " was not detected in this path! This is extremely dangerous as you could delete files you need by "
                  "mistake! Do you want to continue?";
}

}  // namespace tarnwell
