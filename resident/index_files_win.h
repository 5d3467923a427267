#pragma once
// Removes the index files that index.lst names, for the removers that run
// with more rights than the user's program that wrote the list (the
// service, the library at boot): only "index.dat" files taken from the
// list's first three lines, a link as a link, and a file only when it
// really lies in the folder the list names.
#include <array>
#include <string>

namespace tarnwell {

// The list at `indexList`, those of its three lines `chosen` picks;
// answers how many files were removed.
int RemoveListedIndexFiles(const std::string& indexList, std::array<bool, 3> chosen = {true, true, true});

}  // namespace tarnwell
