#include "resident/index_removal_win.h"

#include "base/handles.h"
#include "resident/index_list.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRunOnceValue = "TarnwellIndex";

IndexFiles IndexFilesOf(const IndexRemovalPlaces& places) {
    return {ShortPath(places.cacheDir + "Content.IE5\\") + "index.dat",
            ShortPath(places.historyDir + "History.IE5\\") + "index.dat", ShortPath(places.cookieDir) + "index.dat"};
}

// The RunOnce key is opened, never created: without it nothing is written.
void SetRunOnce(const std::string* command) {
    RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (command)
        ::RegSetValueExA(key.get(), kRunOnceValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command->c_str()),
                         static_cast<DWORD>(command->size() + 1));
    else
        ::RegDeleteValueA(key.get(), kRunOnceValue);
}

void ArmWininit(const std::string& wininit, const IndexFiles& files, bool armed) {
    const std::optional<std::string> existing = ReadWholeFile(wininit);
    if (!armed && !existing) return;
    WriteWholeFile(wininit, armed ? ArmedWininit(existing, files) : DisarmedWininit(*existing, files));
}

}  // namespace

std::string ShortPath(const std::string& path) {
    char shortPath[256] = {};
    return ::GetShortPathNameA(path.c_str(), shortPath, 255) != 0 ? std::string(shortPath) : path;
}

void ArrangeIndexRemoval(const OsFlags& os, const IndexRemovalPlaces& places, std::string_view passes, bool armed) {
    const IndexFiles files = IndexFilesOf(places);
    if (armed) WriteWholeFile(places.programDir + "index.lst", IndexListText(files, passes));
    if (os.IsNTPlatform) return;
    if (os.IsWinME) {
        const std::string command = "\"" + ShortPath(places.programDir + "Vintrel.exe") + "\" /t /h /c";
        SetRunOnce(armed ? &command : nullptr);
        return;
    }
    ArmWininit(places.profileRoot + "\\Wininit.ini", files, armed);
}

}  // namespace tarnwell
