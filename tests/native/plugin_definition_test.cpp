#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "categories/plugin_definition.h"

namespace tarnwell {
namespace {

const PluginMacros kAlice = {"C:\\Documents and Settings\\alice", "alice"};

std::vector<PluginEntry> Read(const std::string& text, const PluginMacros& macros = kAlice) {
    return ReadPluginDefinition(text, macros);
}

// The one entry of a section with these keys.
PluginEntry ReadOne(const std::string& keys, const PluginMacros& macros = kAlice) {
    const auto entries = Read("[Entry]\r\n" + keys, macros);
    EXPECT_EQ(entries.size(), 1u) << keys;
    return entries.empty() ? PluginEntry{} : entries.front();
}

TEST(PluginFileName, OnlyALowerCaseIniExtensionAfterAName) {
    const std::pair<const char*, bool> cases[] = {
        {"app.ini", true},   {"a.ini", true},      {"my app.v2.ini", true}, {".ini", false},
        {"app.INI", false},  {"app.Ini", false},   {"app.ini.bak", false},  {"app.ini ", false},
        {"appini", false},   {"app.txt", false},   {"", false},
    };
    for (const auto& [name, isDefinition] : cases) EXPECT_EQ(IsPluginFileName(name), isDefinition) << name;
}

TEST(PluginDefinition, OneEntryPerSectionInFileOrder) {
    const auto entries = Read(
        "; traces of an editor\r\n"
        "\r\n"
        "[Cache]\r\nType=Directory\r\nDirectory=C:\\Editor\\Cache\r\n"
        "[Log]\r\nType=File\r\nFile=C:\\Editor\\editor.log\r\n"
        "[Recent]\r\nType=Registry Key\r\nRoot=HKLM\r\nKey=Software\\Editor\\Recent\r\n"
        "[Last]\r\nType=Registry Value\r\nRoot=HKCU\r\nKey=Software\\Editor\r\nValue=Last File\r\n");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].type, PluginEntryType::Directory);
    EXPECT_EQ(entries[0].path, "C:\\Editor\\Cache\\");
    EXPECT_EQ(entries[1].type, PluginEntryType::File);
    EXPECT_EQ(entries[1].path, "C:\\Editor\\editor.log");
    EXPECT_EQ(entries[2].type, PluginEntryType::RegistryKey);
    EXPECT_EQ(entries[2].root, PluginRoot::LocalMachine);
    EXPECT_EQ(entries[2].key, "Software\\Editor\\Recent");
    EXPECT_EQ(entries[3].type, PluginEntryType::RegistryValue);
    EXPECT_EQ(entries[3].root, PluginRoot::CurrentUser);
    EXPECT_EQ(entries[3].key, "Software\\Editor");
    EXPECT_EQ(entries[3].value, "Last File");
    for (const PluginEntry& entry : entries) EXPECT_EQ(entry.refusal, "") << entry.path << entry.key;
}

TEST(PluginDefinition, TypeNamesMatchExactly) {
    const std::pair<const char*, size_t> cases[] = {
        {"Type=Directory\r\n", 1},       {"Type=directory\r\n", 0},     {"Type=DIRECTORY\r\n", 0},
        {"Type=Registry key\r\n", 0},    {"Type=RegistryKey\r\n", 0},   {"Type=\r\n", 0},
        {"Directory=C:\\x\r\n", 0},      {"TYPE= \"File\" \r\n", 1},    {"type=File\r\nType=Dir\r\n", 1},
        {"Type=Dir\r\ntype=File\r\n", 0},
    };
    for (const auto& [keys, count] : cases) EXPECT_EQ(Read(std::string("[S]\r\n") + keys).size(), count) << keys;
}

TEST(PluginDefinition, OnlyHklmExactlyMeansTheLocalMachine) {
    const std::pair<const char*, PluginRoot> cases[] = {
        {"Root=HKLM\r\n", PluginRoot::LocalMachine},
        {"root= HKLM \r\n", PluginRoot::LocalMachine},
        {"Root=hklm\r\n", PluginRoot::CurrentUser},
        {"Root=HKEY_LOCAL_MACHINE\r\n", PluginRoot::CurrentUser},
        {"Root=HKCU\r\n", PluginRoot::CurrentUser},
        {"Root=\r\n", PluginRoot::CurrentUser},
        {"", PluginRoot::CurrentUser},
    };
    for (const auto& [root, expected] : cases)
        EXPECT_EQ(ReadOne(std::string("Type=Registry Key\r\nKey=Software\\X\r\n") + root).root, expected) << root;
}

TEST(PluginDefinition, MacrosInAnyCaseAndABackslashOnlyForFolders) {
    const PluginMacros bo = {"D:\\Profiles\\bo", "bo"};
    struct Case {
        const char* keys;
        const char* path;
    };
    const Case cases[] = {
        {"Type=Directory\r\nDirectory=%DRIVE%\\Cache\\%USERNAME%", "D:\\Cache\\bo\\"},
        {"Type=Directory\r\nDirectory=%drive%\\Cache\\%UserName%\\", "D:\\Cache\\bo\\"},
        {"Type=Directory\r\nDirectory=%Drive%\\%USERNAME%\\%username%", "D:\\bo\\bo\\"},
        {"Type=File\r\nFile=%DRIVE%\\Logs\\%username%.log", "D:\\Logs\\bo.log"},
        {"Type=File\r\nFile=D:\\Logs\\", "D:\\Logs\\"},
        {"Type=Directory\r\nDirectory=\"D:\\Quoted Cache\"", "D:\\Quoted Cache\\"},
        {"Type=File\r\nFile='D:\\quoted.log'", "D:\\quoted.log"},
    };
    for (const Case& c : cases) {
        const PluginEntry entry = ReadOne(c.keys, bo);
        EXPECT_EQ(entry.path, c.path) << c.keys;
        EXPECT_EQ(entry.refusal, "") << c.keys;
    }
}

TEST(PluginDefinition, EverySectionCountsEvenWhenNamesRepeat) {
    const auto entries = Read(
        "[Cache]\r\nType=Directory\r\nDirectory=C:\\One\r\n"
        "[cache]\r\nType=Directory\r\nDirectory=C:\\Two\r\n"
        "[Cache]\r\n; Type=File\r\nFile=C:\\ignored.log\r\n"
        "[Cache]\r\nType=File\r\nFile=C:\\Three.log\r\nfile=C:\\Later.log\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, "C:\\One\\");
    EXPECT_EQ(entries[1].path, "C:\\Two\\");
    EXPECT_EQ(entries[2].path, "C:\\Three.log");
}

TEST(PluginDefinition, TheTextsRefusalTravelsWithTheEntry) {
    struct Case {
        const char* keys;
        const char* refusal;
    };
    const Case cases[] = {
        {"Type=Directory\r\nDirectory=", "no folder given"},
        {"Type=Directory", "no folder given"},
        {"Type=File\r\nFile=\"\"", "no file given"},
        {"Type=Directory\r\nDirectory=%APPDATA%\\x", "unexpanded macro"},
        {"Type=Directory\r\nDirectory=temp", "not a full path"},
        {"Type=Registry Value\r\nKey=\\\r\nValue=x", "no registry key given"},
        // Where the path lies is the folder guard's to judge, not the text's.
        {"Type=Directory\r\nDirectory=C:\\Windows", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadOne(c.keys).refusal, c.refusal) << c.keys;
    // An empty folder stays empty rather than becoming a lone backslash.
    EXPECT_EQ(ReadOne("Type=Directory\r\nDirectory=").path, "");
}

const std::vector<ProtectedFolder> kKept = {
    {"C:\\Windows", KeptFolder::Windows},
    {"C:\\Windows\\System32", KeptFolder::System},
    {"C:\\Program Files", KeptFolder::ProgramFiles},
    {"C:\\Documents and Settings\\alice", KeptFolder::Profile},
};

// A Directory or File entry with this value, read as the program reads it.
PluginEntry PathEntry(const char* type, const std::string& value) {
    return ReadOne(std::string("Type=") + type + "\r\n" + type + "=" + value + "\r\n");
}

TEST(PluginPathRefusal, KeepsWalksAwayFromDrivesAndProtectedFolders) {
    struct Case {
        const char* type;
        std::string value;
        const char* refusal;  // empty: the entry may run
    };
    const Case cases[] = {
        {"Directory", "%DRIVE%\\", "a whole drive"},
        {"Directory", "", "no folder given"},
        {"File", "", "no file given"},
        {"Directory", "C:\\", "a whole drive"},
        {"Directory", "C:", "a whole drive"},
        {"Directory", "C:\\Windows\\..\\", "a whole drive"},
        {"Directory", "C:\\Windows\\", "the Windows folder"},
        {"Directory", "c:/windows/system32/", "the system folder"},
        {"Directory", "C:\\Program Files\\", "the program files folder"},
        {"Directory", "C:\\Documents and Settings\\", "holds the profile folder"},
        {"Directory", "%DRIVE%\\Documents and Settings\\%USERNAME%", "the profile folder"},
        {"Directory", "C:\\Windows\\System32\\..\\", "the Windows folder"},
        {"Directory", "%APPDATA%\\x\\", "unexpanded macro"},
        {"File", "%DRIVE%\\%TEMP%\\x.log", "unexpanded macro"},
        {"Directory", "temp\\", "not a full path"},
        {"Directory", "\\temp\\", "not a full path"},
        {"Directory", "C:temp", "not a full path"},
        {"File", "x.log", "not a full path"},
        {"Directory", "\\\\?\\C:\\Temp\\", "not a full path"},
        {"Directory", "\\\\server\\share\\", "a whole drive"},
        {"Directory", "C:\\" + std::string(297, 'x'), "path too long"},
        // The folder's added backslash counts towards the limit.
        {"Directory", "C:\\" + std::string(256, 'x'), "path too long"},
        {"File", "C:\\" + std::string(257, 'x'), "path too long"},
        {"File", "C:\\Windows", "the Windows folder"},
        // Look-alikes of the protected folders, and what lies below them.
        {"Directory", "C:\\Temp\\x\\", ""},
        {"Directory", "%DRIVE%\\Documents and Settings\\%USERNAME%\\Local Settings\\Temp\\", ""},
        {"Directory", "C:\\Documents and Settings\\alice\\Local Settings\\Temp\\", ""},
        {"Directory", "C:\\Windows2\\", ""},
        {"Directory", "C:\\WindowsApps\\x\\", ""},
        {"Directory", "C:\\Program Files Old", ""},
        {"Directory", "\\\\server\\share\\cache\\", ""},
        {"File", "C:\\Windows\\app.log", ""},
        {"Directory", "C:\\" + std::string(255, 'x'), ""},
        {"File", "C:\\" + std::string(256, 'x'), ""},
    };
    for (const Case& c : cases) {
        const PluginEntry entry = PathEntry(c.type, c.value);
        EXPECT_EQ(PluginPathRefusal(entry, kKept).value_or(""), c.refusal) << c.type << " " << c.value;
    }
}

TEST(PluginPathRefusal, RegistryEntriesNeedAKeyBelowTheRoot) {
    struct Case {
        const char* type;
        const char* key;
        const char* refusal;
    };
    const Case cases[] = {
        {"Registry Key", "", "no registry key given"},
        {"Registry Key", "\\", "no registry key given"},
        {"Registry Value", "\\ \\\\", "no registry key given"},
        {"Registry Value", "", "no registry key given"},
        {"Registry Key", "Software\\X", ""},
        {"Registry Value", "Software\\X", ""},
        // A key is no folder: the protected folders do not concern it.
        {"Registry Key", "C:\\Windows", ""},
    };
    for (const Case& c : cases) {
        const PluginEntry entry = ReadOne(std::string("Type=") + c.type + "\r\nKey=" + c.key + "\r\nValue=v\r\n");
        EXPECT_EQ(entry.refusal, c.refusal) << c.type << " " << c.key;
        EXPECT_EQ(PluginPathRefusal(entry, kKept).value_or(""), c.refusal) << c.type << " " << c.key;
    }
}

TEST(RefusalText, NamesTheReasonAndTheKindOfFolder) {
    using Reason = FolderRefusal::Reason;
    struct Case {
        FolderRefusal refusal;
        const char* text;
    };
    const Case cases[] = {
        {{Reason::NotFullPath, KeptFolder::Profile}, "not a full path"},
        {{Reason::WholeDrive, KeptFolder::System}, "a whole drive"},
        {{Reason::IsKept, KeptFolder::Windows}, "the Windows folder"},
        {{Reason::IsKept, KeptFolder::System}, "the system folder"},
        {{Reason::IsKept, KeptFolder::ProgramFiles}, "the program files folder"},
        {{Reason::IsKept, KeptFolder::Profile}, "the profile folder"},
        {{Reason::HoldsKept, KeptFolder::Windows}, "holds the Windows folder"},
        {{Reason::HoldsKept, KeptFolder::System}, "holds the system folder"},
        {{Reason::HoldsKept, KeptFolder::ProgramFiles}, "holds the program files folder"},
        {{Reason::HoldsKept, KeptFolder::Profile}, "holds the profile folder"},
    };
    for (const Case& c : cases) EXPECT_EQ(RefusalText(c.refusal), c.text);
}

}  // namespace
}  // namespace tarnwell
