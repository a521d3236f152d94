#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    std::string runtime = (std::filesystem::temp_directory_path() / "zarn-controls-XXXXXX").string();
    const bool ownRuntime = ::mkdtemp(runtime.data()) != nullptr;
    if (ownRuntime) {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (ownRuntime) {
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }
    return result;
}
