#include "tests/support/ScratchDir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A folder of the run's own, or the shared temporary folder when none can be
// made (which is then left alone at the end).
std::string folderOrTemporary(const ScratchDir& folder) {
    return folder.made() ? folder.path() : std::filesystem::temp_directory_path().string();
}

} // namespace

// Every run gets its own runtime and state folders, so a simulated keyboard
// never finds the memory of an earlier run.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    const ScratchDir runtime("zarn-app-runtime");
    const ScratchDir state("zarn-app-state");
    ::setenv("XDG_RUNTIME_DIR", folderOrTemporary(runtime).c_str(), 1);
    ::setenv("XDG_STATE_HOME", folderOrTemporary(state).c_str(), 1);
    ::unsetenv("ZARN_VIRTUAL_HID");
    ::unsetenv("ZARN_SCALE");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
