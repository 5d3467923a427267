#pragma once
// The three Mozilla-family files the browser tabs edit on a sweep instead
// of destroying them whole (cookies.txt, netscapetoolbar.rdf, prefs.js).
// Each answers its label.
//
// An edited file is never left half written: the new text goes to a file
// beside it first, which then takes the old one's place in one step. A
// file that cannot be read is left as it is.
#include <optional>
#include <string>
#include <vector>

#include "cookiekeep/keep_list.h"
#include "engine/secure_delete.h"

namespace tarnwell {

struct BrowserItemContext {
    RemovalContext removal;  // the Security tab's options
    bool ntPlatform = false;  // chooses how a new file takes an old one's place
};

// Where a Netscape profile keeps its files: the first entry of the profile
// folder, listed anew each time; none for an empty folder.
std::optional<std::string> NetscapeDataFolder(const std::string& profilePath);

// cookies.txt without the cookies the keep list does not spare. The count
// is what the file shrank by. Without a keep list (the Cookie Keeper's
// lists could not be loaded) the file is left alone: "Not Found.".
std::string CookieFileItem(const std::string& file, const std::optional<KeepList>& keep, bool sweep,
                           const BrowserItemContext& context);

// The Netscape toolbar's stored search terms, counted in lines; the file
// is written back with CR LF line ends whenever it could be read.
std::string ToolbarFileItem(const std::string& file, bool sweep, const BrowserItemContext& context);

// The Google toolbars' search history in prefs.js, counted in characters;
// the file is written back with CR LF line ends whenever it could be read.
std::string GoogleToolbarItem(const std::string& file, bool sweep, const BrowserItemContext& context);

}  // namespace tarnwell
