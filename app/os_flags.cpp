#include "app/os_flags.h"

namespace tarnwell {

OsFlags OsFlagsFor(int platformId, unsigned major, unsigned minor) {
    OsFlags flags;
    const bool nt = platformId == static_cast<int>(Platform::WindowsNT);
    const bool win9x = platformId == static_cast<int>(Platform::Windows9x);
    flags.IsNTPlatform = nt;
    flags.IsNT = nt;
    flags.IsWinME = win9x && major == 4 && minor == 90;
    if (nt) {
        flags.IsOldShell = major <= 4;
    } else if (win9x) {
        // 95 and 98 have the old shell; ME and anything later on 9x does not.
        flags.IsOldShell = major < 4 || (major == 4 && minor < 90);
    } else {
        flags.IsOldShell = platformId == static_cast<int>(Platform::Win32s);
    }
    return flags;
}

}  // namespace tarnwell
