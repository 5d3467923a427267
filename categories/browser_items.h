#pragma once
// The items the browser tabs share: files destroyed whole and counted in
// bytes, and the three Mozilla-family files a sweep edits instead
// (cookies.txt, netscapetoolbar.rdf, prefs.js). Each answers its label.
//
// An edited file is never left half written: the new text goes to a file
// beside it first, which then takes the old one's place in one step. A
// file that cannot be read is left as it is.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/category_engine.h"

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

// The files' sizes added up ("N bytes"); each that exists is destroyed on
// a sweep ("N bytes deleted.").
std::string WholeFilesItem(const std::vector<std::string>& files, bool sweep, const BrowserItemContext& context);

// WholeFilesItem as a tab's row: the files and the context are read each
// time the item starts.
ItemRoutine WholeFilesRoutine(std::function<std::vector<std::string>()> files,
                              std::function<BrowserItemContext()> context);

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
