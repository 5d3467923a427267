// The popup blocker library beside the real program: switched on and off
// through its registration (observed in the registry), blocking a popup
// through the browser event the browser would send it (Wine's browser
// loads no helper objects, so this process plays the browser), and
// removing index files for Vintrel at the next start of Windows.
#include <gtest/gtest.h>

#include <ole2.h>

#include "app/control_table.h"
#include "stand-ins/popup/snuffet.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const std::string kClassKey = std::string("CLSID\\") + kPopupKillerClassText;
const std::string kHelperKey =
    std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\") +
    kPopupKillerClassText;

// The build's file `name` beside the Tarnwell.exe under test.
std::string BuiltFile(const std::string& name) {
    const std::string exe = TarnwellExe();
    return exe.substr(0, exe.find_last_of("\\/") + 1) + name;
}

std::optional<std::string> DefaultValue(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    char data[MAX_PATH * 2] = {};
    DWORD size = sizeof data - 1;
    const LONG result = ::RegQueryValueExA(opened, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(opened);
    return result == ERROR_SUCCESS ? std::optional<std::string>(data) : std::nullopt;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    ::RegCloseKey(opened);
    return true;
}

class PopupKiller : public TabTest {
protected:
    void SetUp() override {
        keys.Save(HKEY_CLASSES_ROOT, kClassKey);
        keys.Save(HKEY_LOCAL_MACHINE, kHelperKey);
        ASSERT_TRUE(::CopyFileA(BuiltFile("snuffet.dll").c_str(), (folder / "snuffet.dll").c_str(), FALSE));
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    }
    void TearDown() override {
        ::CoFreeUnusedLibraries();
        ::CoUninitialize();
        TabTest::TearDown();
    }
    bool Registered() const {
        return DefaultValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32") == folder / "snuffet.dll" &&
               KeyExists(HKEY_LOCAL_MACHINE, kHelperKey);
    }
    bool Unregistered() const {
        return !KeyExists(HKEY_CLASSES_ROOT, kClassKey) && !KeyExists(HKEY_LOCAL_MACHINE, kHelperKey);
    }
    // A new window asked for by the page at `opener` (NewWindow3, as the
    // browser fires it); answers whether the blocker cancelled it.
    static bool NewWindowCancelled(const wchar_t* opener, bool userClicked) {
        IDispatch* events = nullptr;
        if (FAILED(::CoCreateInstance(kPopupKillerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&events))))
            return false;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        IDispatch* window = nullptr;
        BSTR context = ::SysAllocString(opener);
        BSTR url = ::SysAllocString(L"http://popup.example/ad.html");
        VARIANT args[5];
        for (VARIANT& arg : args) ::VariantInit(&arg);
        args[4].vt = VT_BYREF | VT_DISPATCH, args[4].ppdispVal = &window;
        args[3].vt = VT_BYREF | VT_BOOL, args[3].pboolVal = &cancel;
        args[2].vt = VT_I4, args[2].lVal = userClicked ? 0x2 : 0x0;
        args[1].vt = VT_BSTR, args[1].bstrVal = context;
        args[0].vt = VT_BSTR, args[0].bstrVal = url;
        DISPPARAMS params{args, nullptr, 5, 0};
        events->Invoke(273, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        events->Release();
        ::SysFreeString(context);
        ::SysFreeString(url);
        return cancel == VARIANT_TRUE;
    }

    RegistryKeys keys;
};

TEST_F(PopupKiller, RegisteredWhileTarnwellRunsUnlessSwitchedOff) {
    Start("[Settings]\r\n");
    EXPECT_TRUE(Registered());
    Click(ctl::SnuffetCB);
    ASSERT_TRUE(program->Checked(ctl::SnuffetCB));
    EXPECT_TRUE(Unregistered());
    Click(ctl::SnuffetCB);
    EXPECT_TRUE(Registered());
    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_TRUE(Unregistered());

    // Stored as off: not registered at start-up.
    program = std::make_unique<TarnwellProcess>(folder.Path());
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    Click(ctl::SnuffetCB);
    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    program = std::make_unique<TarnwellProcess>(folder.Path());
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    EXPECT_TRUE(program->Checked(ctl::SnuffetCB));
    EXPECT_TRUE(Unregistered());
}

TEST_F(PopupKiller, ABlockedPopupIsCancelledAndCountedAndAnAllowedHostsIsNot) {
    ASSERT_TRUE(WriteTextFile(folder / "allow.lst", "friend.example\r\n"));
    Start("[Settings]\r\n");
    ASSERT_TRUE(Registered());
    EXPECT_TRUE(NewWindowCancelled(L"http://ads.example/page.html", false));
    EXPECT_TRUE(PumpUntil([&] { return program->Text(ctl::PopCount) == "1"; }, 10000)) << program->Text(ctl::PopCount);
    EXPECT_FALSE(NewWindowCancelled(L"https://Friend.Example/home", false));
    ::Sleep(300);  // past the quarter second that joins reports
    EXPECT_EQ(program->Text(ctl::PopCount), "1");
}

// Vintrel as Windows ME's RunOnce entry starts it: the index files that
// index.lst names go, and nothing the list names that is not an index file
// or lies behind a link named like one (tests/win32/link_fixtures.sh).
TEST(Vintrel, RemovesTheListedIndexFilesAndNothingElse) {
    TempFolder folder;
    for (const char* file : {"Vintrel.exe", "snuffet.dll"})
        ASSERT_TRUE(::CopyFileA(BuiltFile(file).c_str(), (folder / file).c_str(), FALSE)) << file;
    const std::string cache = folder / "cache\\Content.IE5\\index.dat";
    const std::string history = folder / "history\\History.IE5\\index.dat";
    const std::string sentinel = folder / "cookies\\user@site.txt";
    ASSERT_TRUE(MakeDirectories(folder / "cache\\Content.IE5") && MakeDirectories(folder / "history\\History.IE5") &&
                MakeDirectories(folder / "cookies"));
    for (const std::string& file : {cache, history, sentinel}) ASSERT_TRUE(WriteTextFile(file, "x")) << file;
    ASSERT_TRUE(WriteTextFile(folder / "index.lst", cache + "\r\n" + history + "\r\n" + sentinel + "\r\n3\r\n"));

    const auto run = [&](const std::string& arguments) {
        std::string command = "\"" + folder / "Vintrel.exe" + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                              &startup, &info))
            return DWORD{0xFFFFFFFF};
        ::WaitForSingleObject(info.hProcess, 30000);
        DWORD code = 0xFFFFFFFF;
        ::GetExitCodeProcess(info.hProcess, &code);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
        return code;
    };
    // Without switches nothing is chosen; "/h" alone takes the history's.
    EXPECT_EQ(run(""), 0u);
    EXPECT_TRUE(FileExists(cache) && FileExists(history));
    EXPECT_EQ(run("/h"), 0u);
    EXPECT_TRUE(FileExists(cache));
    EXPECT_FALSE(FileExists(history));
    EXPECT_EQ(run("/t /h /c /x /y"), 0u);
    EXPECT_FALSE(FileExists(cache));
    EXPECT_TRUE(FileExists(sentinel)) << "a listed file that is no index file was removed";

    ASSERT_TRUE(WriteTextFile(folder / "index.lst", cache + "\r\n" + history + "\r\nC:\\tw-links\\tree9\\index.dat\r\n3\r\n"));
    EXPECT_EQ(run("/t /h /c"), 0u);
    EXPECT_EQ(ReadTextFile("C:\\tw-links\\outside9\\secret.txt"), "sentinel file 9");
}

}  // namespace
}  // namespace tarnwell::testing
