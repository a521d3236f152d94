#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string temporaryDirectory(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::filesystem::temp_directory_path().string();
}

} // namespace

// Every run gets its own runtime and state folders, so a simulated keyboard
// never finds the memory of an earlier run.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    const std::string runtime = temporaryDirectory("zarn-app-runtime");
    const std::string state = temporaryDirectory("zarn-app-state");
    ::chmod(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    ::unsetenv("ZARN_VIRTUAL_HID");
    ::unsetenv("ZARN_SCALE");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    std::filesystem::remove_all(state, ignored);
    return result;
}
