#pragma once
// The base of the tests that drive a category tab of the running program:
// Tarnwell started in a folder of its own, its risk labels read and its
// buttons clicked from outside; afterwards the program is ended and what
// the test planted is removed again.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/support/planted_files.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {

class TabTest : public ::testing::Test {
protected:
    // Ends the program, then removes what was planted.
    void TearDown() override;

    // Wine reports `version` ("win98", "winme", "winxp") to the program
    // until the test ends. Called before Start.
    void RunAs(const std::string& version);
    // Writes settings.ini and starts the program with `environment` added
    // to its own ("TEMP=C:\\x"); the test stops unless its window shows.
    void Start(const std::string& settings, const std::vector<std::string>& environment = {});

    // The text a risk label shows.
    std::string Label(int id) const { return program->Text(id); }
    // A click as the user makes it: it returns once the click's handler has.
    void Click(int button) const { program->Click(button); }
    // Posts a command to the main window, as the tray menu does.
    void PostCommand(int command) const;
    // A category's buttons are enabled again together when its last item
    // ends: waits for `button`, one of them.
    [[nodiscard]] bool WaitUntilIdle(int button, DWORD milliseconds = 60000) const {
        return program->WaitUntilEnabled(button, milliseconds);
    }
    // Clicks `button` and waits until its category is idle again.
    [[nodiscard]] bool ClickAndWait(int button) const {
        Click(button);
        return WaitUntilIdle(button);
    }

    TempFolder folder;
    PlantedFiles planted;
    std::unique_ptr<TarnwellProcess> program;

private:
    std::optional<WindowsVersionOverride> version_;
};

}  // namespace tarnwell::testing
