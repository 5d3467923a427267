#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {

void TabTest::TearDown() {
    if (program && program->Running()) {
        program->EndSession();
        EXPECT_TRUE(program->WaitForExit()) << "the program did not end at log-off";
    }
    program.reset();
    planted.RemoveAll();
    version_.reset();
}

void TabTest::RunAs(const std::string& version) { version_.emplace(version); }

void TabTest::Start(const std::string& settings, const std::vector<std::string>& environment) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
    program = std::make_unique<TarnwellProcess>(folder.Path(), "", environment);
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
}

void TabTest::PostCommand(int command) const {
    ::PostMessageA(program->MainWindow(), WM_COMMAND, static_cast<WPARAM>(command), 0);
}

}  // namespace tarnwell::testing
