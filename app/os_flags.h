#pragma once
// Which Windows family the program runs on, derived from the version numbers
// that GetVersionExA reports. Portable: no Windows headers.

namespace tarnwell {

enum class Platform { Win32s = 0, Windows9x = 1, WindowsNT = 2 };

struct OsFlags {
    bool IsNT = false;          // NT platform: user profiles and the newer shell call
    bool IsWinME = false;       // Windows ME (4.90 on the 9x platform)
    bool IsOldShell = false;    // Win32s, 95, 98, NT 4 and older
    bool IsNTPlatform = false;  // platform id VER_PLATFORM_WIN32_NT
};

OsFlags OsFlagsFor(int platformId, unsigned major, unsigned minor);

}  // namespace tarnwell
