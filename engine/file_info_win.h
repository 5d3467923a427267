#pragma once
// What the engine asks of a file by name or by open handle, answered the
// same way on every system the program runs on, Windows 95 included.
#include <cstdint>
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

// Attributes, size and times of a file or folder, as GetFileAttributesExA
// gives them; none when the name is not found. The name is never taken as
// a search pattern. On Windows 95, which lacks that call, they come from
// the name's directory entry; a drive's root, which has none, then gets its
// attributes alone.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> QueryFileInfo(const std::string& path);

// Whether the name is there as a file, not a folder; as a folder.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);

// The first entry of a folder's listing other than "." and "..", of any
// kind; none for an empty or missing folder.
std::optional<WIN32_FIND_DATAA> FirstFolderEntry(const std::string& folder);

// The length of an open file; none when the handle cannot say.
std::optional<std::int64_t> OpenFileSize(HANDLE file);

// Moves the file pointer to `offset` bytes from the start.
bool SeekFromStart(HANDLE file, std::int64_t offset);

}  // namespace tarnwell
