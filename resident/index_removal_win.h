#pragma once
// Arranges for Internet Explorer's index files (in use while Windows runs)
// to be removed at the next start of Windows: the list index.lst always,
// and by family the trigger: nothing more on the NT family (the service
// reads the list), a RunOnce start of Vintrel on Windows ME, boot-time
// "NUL=" renames in Wininit.ini on Windows 95 and 98.
#include <string>
#include <string_view>

#include "app/os_flags.h"

namespace tarnwell {

struct IndexRemovalPlaces {
    std::string cacheDir;     // each of the three with a trailing backslash
    std::string historyDir;
    std::string cookieDir;
    std::string profileRoot;  // the Windows folder on 95 and 98, no trailing backslash
    std::string programDir;   // with a trailing backslash
};

// GetShortPathNameA's form of `path`, or `path` itself when it has none
// (it does not exist, say).
std::string ShortPath(const std::string& path);

// Arms the removal (`armed`) or takes it back. `passes` is the overwrite
// pass count as the Security tab shows it. Every step that fails is
// skipped without a word.
void ArrangeIndexRemoval(const OsFlags& os, const IndexRemovalPlaces& places, std::string_view passes, bool armed);

}  // namespace tarnwell
