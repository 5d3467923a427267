// Removal of Internet Explorer's index files at the next start of Windows,
// armed by the real program in 98, ME and XP modes: index.lst, the boot
// renames of Wininit.ini, the RunOnce start of Vintrel. The index folders
// given to the program do not exist, so their paths keep their long form
// and the expected lines can be written out here.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

// Wininit.ini in the Windows folder: the test may change it as it likes,
// and what was there before comes back afterwards.
class SavedWininit {
public:
    SavedWininit() : path_(WindowsFolder() + "\\Wininit.ini"), existed_(FileExists(path_)) {
        if (existed_) text_ = ReadTextFile(path_);
        ::DeleteFileA(path_.c_str());
    }
    ~SavedWininit() {
        if (existed_)
            (void)WriteTextFile(path_, text_);
        else
            ::DeleteFileA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool existed_;
    std::string text_;
};

class IndexRemoval : public TabTest {
protected:
    void StartWithIndexFolders(const std::string& version, const std::string& settings) {
        RunAs(version);
        registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", folder / "cache");
        registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "History", folder / "history");
        registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cookies", folder / "cookies");
        Start("[Settings]\r\n" + settings);
    }
    std::string Cache() const { return folder / "cache\\Content.IE5\\index.dat"; }
    std::string History() const { return folder / "history\\History.IE5\\index.dat"; }
    std::string Cookies() const { return folder / "cookies\\index.dat"; }
    std::string IndexList(const std::string& passes) const {
        return Cache() + "\r\n" + History() + "\r\n" + Cookies() + "\r\n" + passes + "\r\n";
    }
    std::string RenameLines() const {
        return "NUL=" + Cache() + "\r\nNUL=" + History() + "\r\nNUL=" + Cookies() + "\r\n";
    }
    void ClickIndexBox() const { Click(ctl::VintrelCB); }

    RegistryValues registry;
    RegistryKeys keys;
};

TEST_F(IndexRemoval, OnWindows98TheFilesAreRenamedToNulAtBoot) {
    SavedWininit wininit;
    StartWithIndexFolders("win98", "VintrelCB_Checked=True\r\nEncryptEdit_Value=7\r\n");
    // Armed at start-up, the list following the pass count.
    EXPECT_EQ(ReadTextFile(wininit.Path()), "[rename]\r\n" + RenameLines());
    EXPECT_EQ(ReadTextFile(folder / "index.lst"), IndexList("7"));

    // Off: only its lines go, in whatever case they are now, and the other
    // program's line and the section stay.
    std::string upper = RenameLines();
    ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    ASSERT_TRUE(WriteTextFile(wininit.Path(), "[rename]\r\nC:\\KEEP.NEW=C:\\KEEP.TMP\r\n" + upper));
    ClickIndexBox();
    ASSERT_FALSE(program->Checked(ctl::VintrelCB));
    EXPECT_EQ(ReadTextFile(wininit.Path()), "[rename]\r\nC:\\KEEP.NEW=C:\\KEEP.TMP\r\n");

    // On twice: the lines once.
    ClickIndexBox();
    ClickIndexBox();
    ClickIndexBox();
    EXPECT_EQ(ReadTextFile(wininit.Path()), "[rename]\r\nC:\\KEEP.NEW=C:\\KEEP.TMP\r\n" + RenameLines());
}

TEST_F(IndexRemoval, OnWindowsMEVintrelRunsOnceAtTheNextStart) {
    SavedWininit wininit;
    keys.Save(HKEY_LOCAL_MACHINE, kRunOnce);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRunOnce);
    // Without the RunOnce key nothing goes to the registry; the list is written.
    StartWithIndexFolders("winme", "VintrelCB_Checked=True\r\n");
    EXPECT_EQ(ReadTextFile(folder / "index.lst"), IndexList("1"));
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_FALSE(FileExists(wininit.Path()));

    // With it: the start of Vintrel from the program's folder, then gone again.
    ASSERT_EQ(::RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunOnce, &key), ERROR_SUCCESS);
    ClickIndexBox();
    ClickIndexBox();
    char command[MAX_PATH * 2] = {};
    DWORD size = sizeof command;
    EXPECT_EQ(::RegQueryValueExA(key, "TarnwellIndex", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(command), "\"" + folder / "Vintrel.exe" + "\" /t /h /c");
    ClickIndexBox();
    EXPECT_NE(::RegQueryValueExA(key, "TarnwellIndex", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

TEST_F(IndexRemoval, OnWindowsXPOnlyTheListIsWrittenAndItStaysWhenSwitchedOff) {
    SavedWininit wininit;
    StartWithIndexFolders("winxp", "VintrelCB_Checked=True\r\nEncryptEdit_Value=12\r\n");
    EXPECT_EQ(ReadTextFile(folder / "index.lst"), IndexList("12"));
    ClickIndexBox();
    ASSERT_FALSE(program->Checked(ctl::VintrelCB));
    EXPECT_EQ(ReadTextFile(folder / "index.lst"), IndexList("12"));
    EXPECT_FALSE(FileExists(wininit.Path()));
}

}  // namespace
}  // namespace tarnwell::testing
