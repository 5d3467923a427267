#pragma once
// Removal of Internet Explorer's index files at the next start of Windows:
// the list the program writes (index.lst), the boot-time rename lines of
// Windows 95 and 98 (Wininit.ini), and what the removers accept from the
// list. Portable: no Windows headers.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The three index files, in their fixed order: cache, history, cookies.
struct IndexFiles {
    std::string cache;
    std::string history;
    std::string cookies;
};

// index.lst: the three paths and the overwrite pass count, every line
// ended by CRLF.
std::string IndexListText(const IndexFiles& files, std::string_view passes);

// Wininit.ini with a "NUL=" line for each index file that the text does
// not name yet (exact case). A missing file starts as "[rename]". Lines
// end in CRLF, as Windows writes the file.
std::string ArmedWininit(std::optional<std::string_view> existing, const IndexFiles& files);
// Wininit.ini without the first "NUL=" line of each index file, whatever
// the case of its letters; every other line stays, "[rename]" too.
std::string DisarmedWininit(std::string_view existing, const IndexFiles& files);

// The files a remover may delete from an index.lst it reads: of its first
// three lines, those that are absolute paths (drive or UNC) whose name is
// "index.dat" (any case) and that climb through no "." or ".." folder.
// The list is written by the user's program and read by code with more
// rights: nothing else it names is touched. `chosen` picks among the three
// lines (cache, history, cookies).
std::vector<std::string> IndexFilesToRemove(std::string_view indexList, std::array<bool, 3> chosen = {true, true, true});

}  // namespace tarnwell
