#pragma once
// Which browser profile folders the program works on, given the defaults
// it found and the folders the user typed on the Settings tab. Portable:
// the existence test is passed in.
#include <functional>
#include <optional>
#include <string>

namespace tarnwell {

using ExistsTest = std::function<bool(const std::string&)>;

struct FolderChoice {
    std::optional<std::string> folder;  // where discovery runs; none = nothing to start
    std::string editText;               // the path edit's text afterwards
};

// AOL: the user's folder when it is set, differs from the found one and
// exists; otherwise the found folder when it exists (shown in the edit).
FolderChoice ChooseAolFolder(const std::string& aolPath, const std::string& editText, const ExistsTest& exists);

// Netscape and FireFox profile roots below `profileRoot`.
FolderChoice ChooseNetscapeRoot(const std::string& profileRoot, const std::string& editText,
                                const ExistsTest& exists);
FolderChoice ChooseFireFoxRoot(const std::string& profileRoot, const std::string& editText,
                               const ExistsTest& exists);

// Opera: `folder` is the profile folder (with trailing backslash) or none.
FolderChoice ChooseOperaFolder(const std::string& profileRoot, const std::string& editText,
                               const ExistsTest& exists);

// Whether a name in AOL's "organize" folder is a user's (screen name):
// not a file name with a dot, not the cache and not one of AOL's own
// folders for new and returning members.
bool IsAolScreenName(const std::string& name);

// A folder picked for AOL with a trailing backslash: the "organize"
// folder inside it when the pick was the folder above it.
std::string AolOrganizeFolder(std::string picked, const ExistsTest& exists);

// The question asked before a profile path the user picked is taken:
// sterner when the browser's `word` is not part of the path (any case).
std::string ManualPathQuestion(const std::string& path, const std::string& word);

}  // namespace tarnwell
