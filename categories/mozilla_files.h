#pragma once
// The three Mozilla-family files a sweep edits instead of destroying, as
// line filters: cookies.txt without the cookies the keep list does not
// spare, netscapetoolbar.rdf without its stored search terms, prefs.js
// without the Google toolbars' search history. Portable.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cookiekeep/keep_list.h"

namespace tarnwell {

// The lines of a browser file: ended by LF, CR or CRLF.
std::vector<std::string> BrowserFileLines(std::string_view text);
// `lines` joined, each followed by `lineEnd`.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd);

// cookies.txt as the sweep writes it back: the comment and empty lines,
// and the cookies whose domain field (the text before the first TAB) the
// keep list holds; every line ended by LF.
std::string KeptCookiesText(std::string_view fileText, const KeepList& keep);

// The stored search terms of the Netscape toolbar (netscapetoolbar.rdf).
struct ToolbarWalk {
    int count = 0;                   // lines that mention a search term
    std::vector<std::string> lines;  // what is left: everything when only counting
};
ToolbarWalk WalkToolbarLines(std::vector<std::string> lines, bool sweep);

// The search history lines of the Google toolbars in prefs.js.
struct PrefsWalk {
    std::size_t bytes = 0;           // characters of the history lines, line ends not counted
    std::vector<std::string> lines;  // what is left: everything when only counting
};
PrefsWalk WalkGoogleToolbarPrefs(std::vector<std::string> lines, bool sweep);

// Where FireFox keeps the cache of a roaming profile: the profile folder
// with every "\Application Data\" (in any letter case) turned into
// "\Local Settings\Application Data\".
std::string LocalSettingsTwin(std::string_view profileFolder);

}  // namespace tarnwell
