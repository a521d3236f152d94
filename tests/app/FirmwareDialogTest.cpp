#include "app/elements/FirmwareUpdateElements.h"
#include "firmware/COrvoDialogFirmwareUpdate.h"
#include "firmware/FirmwarePrefix.h"
#include "model/AssignmentVocabulary.h"
#include "model/DeviceBridge.h"
#include "model/KeyAssignment.h"
#include "model/LayoutBackup.h"
#include "skin/ScaleFactor.h"
#include "tests/app/GuiHarness.h"
#include "tests/support/ScriptedKeyboard.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <vector>

namespace {

struct PrefixCase {
    int model;
    const char* file;
    bool accepted;
};

TEST(FirmwarePrefix, BelongsToTheModelByTheStartOfTheName) {
    const PrefixCase cases[] = {
        {3, "ZarnBT_v2", false},     {3, "ZarnRGB_v2", false},   {3, "Zarn_v2", true},
        {4, "ZarnRGB.BT_v2", false}, {4, "ZarnRGB_v2", true},    {3, "zarn_v2", false},
        {2, "ZarnBT_v2", true},      {1, "ZarnRGB.BT_v2", true}, {0, "ZarnRGB.BT_x", true},
        {1, "ZarnRGB_v2", false},    {3, "v2_Zarn_", false},
    };
    for (const PrefixCase& c : cases) {
        EXPECT_EQ(FirmwareMatchesModel(c.file, c.model), c.accepted) << c.file << " for model " << c.model;
    }
}

class FirmwareDialogTest : public ::testing::Test {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("zarn-fw-" + std::to_string(::getpid()) + "-" +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    // Backups of the layout go to the test's folder, never the user's.
    void SetUp() override {
        std::filesystem::create_directories(folder);
        ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(folder);
    }

    // An Intel HEX text of `lines` data records and its end record, CR LF line ends.
    std::string hexFile(const std::string& name, int lines) {
        const std::string path = (folder / name).string();
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < lines - 1; ++i) {
            const int address = i * 16;
            int sum = 16 + ((address >> 8) & 0xFF) + (address & 0xFF);
            char line[64];
            int n = std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
            for (int b = 0; b < 16; ++b) {
                n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "%02X", b);
                sum += b;
            }
            std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "%02X\r\n", (-sum) & 0xFF);
            out << line;
        }
        out << ":00000001FF\r\n";
        return path;
    }

    static void click(COrvoDialogFirmwareUpdate& dialog, int id) {
        const SkinItem* item = dialog.element(id);
        ClickAt(dialog, QPoint(item->rect.left + 3, item->rect.top + 3));
    }
};

TEST_F(FirmwareDialogTest, ShowsTheVersionAndRefusesAnotherModelsFile) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    EXPECT_FALSE(dialog.versionEdit()->text().isEmpty());
    EXPECT_TRUE(gui.prompts.texts().isEmpty());

    gui.prompts.nextFile(QString::fromStdString((folder / "ZarnBT_v2.bin").string()));
    click(dialog, kFirmwareCmdOpen);
    gui.doc.uiLanguage = "en-US";
    gui.prompts.nextFile(QString::fromStdString((folder / "zarn_v2.bin").string()));
    click(dialog, kFirmwareCmdOpen);
    EXPECT_TRUE(dialog.chosenFilePath.isEmpty());
    click(dialog, kFirmwareCmdUpdate);
    EXPECT_EQ(gui.prompts.texts(),
              (QStringList{QStringLiteral("固件不匹配，请选择Zarn"),
                           QStringLiteral("The firmware does not match,please select Zarn"),
                           QStringLiteral("The firmware does not match")}));
    EXPECT_EQ(gui.prompts.shown().front().caption, QStringLiteral("Zarn"));
    EXPECT_EQ(gui.prompts.shown().front().icon, PromptIcon::Warning);
    ASSERT_EQ(gui.prompts.filesAsked().size(), 2u);
    EXPECT_EQ(gui.prompts.filesAsked().front().request.filter, QStringLiteral("bin(*.bin)|*.bin"));

    const QString hex = QString::fromStdString(hexFile("Zarn_v2.hex", 3));
    gui.prompts.nextFile(hex);
    click(dialog, kFirmwareCmdOpen);
    EXPECT_EQ(dialog.chosenFilePath, hex);
    EXPECT_EQ(dialog.pathEdit()->text(), hex);
}

TEST_F(FirmwareDialogTest, UpdateTwiceStartsOneDownloadAndTheBarEndsFull) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    gui.doc.uiLanguage = "en-US";
    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v2.hex", 300)));
    click(dialog, kFirmwareCmdOpen);
    click(dialog, kFirmwareCmdUpdate);
    EXPECT_EQ(dialog.updateReady, 0);
    EXPECT_EQ(dialog.progressValue, 1);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return gui.prompts.shown().size() >= 2; }, 20000));
    EXPECT_EQ(gui.prompts.texts().size(), 2);
    EXPECT_TRUE(
        gui.prompts.texts().front().startsWith(QStringLiteral("The Firmware is downloaded successfully.")));
    EXPECT_EQ(dialog.updateReady, 1);
    EXPECT_EQ(dialog.progressValue, 100);
    EXPECT_EQ(dialog.barWidth(), 290);
    EXPECT_EQ(gui.doc.firmwarePath, (folder / "Zarn_v2.hex").string());
}

TEST_F(FirmwareDialogTest, UnreadableFileLeavesUpdateIdleUntilTheNextOpen) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    const std::string path = hexFile("Zarn_v3.hex", 3);
    gui.prompts.nextFile(QString::fromStdString(path));
    click(dialog, kFirmwareCmdOpen);
    std::filesystem::remove(path);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return !gui.prompts.shown().empty(); }, 5000));
    EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("打开固件文件失败")});
    EXPECT_EQ(dialog.updateReady, 0);
    gui.prompts.clear();
    click(dialog, kFirmwareCmdUpdate);
    QTest::qWait(100);
    EXPECT_TRUE(gui.prompts.texts().isEmpty()) << "no second download";

    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v3.hex", 3)));
    click(dialog, kFirmwareCmdOpen);
    EXPECT_EQ(dialog.updateReady, 1);
}

// A FIFO chosen as the firmware held the device worker in its open for good,
// and with it every later transfer of the program.
TEST_F(FirmwareDialogTest, WhatIsNotAFileCannotBeOpenedAndLeavesTheWorkerFree) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    const std::string fifo = (folder / "Zarn_fifo.bin").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "Zarn_folder.bin");
    for (const std::string& path : {fifo, (folder / "Zarn_folder.bin").string()}) {
        gui.prompts.clear();
        gui.prompts.nextFile(QString::fromStdString(path));
        click(dialog, kFirmwareCmdOpen);
        click(dialog, kFirmwareCmdUpdate);
        ASSERT_TRUE(WaitUntil([&] { return !gui.prompts.shown().empty(); }, 2000)) << path;
        EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("打开固件文件失败")});
        EXPECT_TRUE(WaitUntil([&] { return !gui.worker.busy(); }, 1000)) << path;
    }
}

TEST_F(FirmwareDialogTest, EmptyFileIsAFailedDownload) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    const std::string path = (folder / "Zarn_empty.hex").string();
    std::ofstream(path).close();
    gui.doc.uiLanguage = "en-US";
    gui.prompts.nextFile(QString::fromStdString(path));
    click(dialog, kFirmwareCmdOpen);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return !gui.prompts.shown().empty(); }, 5000));
    EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("Firmware download failed.")});
    EXPECT_EQ(dialog.updateReady, 1);
}

TEST_F(FirmwareDialogTest, KeyboardQueriesAreRefusedWhileTheDeviceWorkerRuns) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v2.hex", 3)));
    click(dialog, kFirmwareCmdOpen);
    ASSERT_EQ(dialog.updateReady, 1);

    // Stands for a download (or a transfer a closed dialog left running) that is not done yet.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    gui.worker.start([released] { released.wait(); });
    dialog.versionEdit()->clear();
    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v4.hex", 3)));
    click(dialog, kFirmwareCmdOpen);
    click(dialog, kFirmwareCmdGetVersion);
    click(dialog, kFirmwareCmdUpdate);
    EXPECT_EQ(gui.prompts.filesAsked().size(), 1u);
    EXPECT_TRUE(dialog.versionEdit()->text().isEmpty());
    EXPECT_EQ(dialog.progressValue, 0) << "no download started";
    release.set_value();
    gui.worker.waitIdle();

    click(dialog, kFirmwareCmdGetVersion);
    EXPECT_FALSE(dialog.versionEdit()->text().isEmpty());
}

// The simulated keyboard resets its layout in an update; the dialog reads it
// first and, when the user says so, writes it back.
TEST_F(FirmwareDialogTest, TheLayoutIsBackedUpBeforeTheUpdateAndWrittenBackOnYes) {
    GuiHarness gui(3);
    ASSERT_TRUE(gui.doc.device.__createDev());
    {
        const auto keyboard = OpenLayoutDocument(3);
        ASSERT_TRUE(keyboard);
        const AssignmentVocabulary words(*keyboard);
        AssignmentRequest combo;
        combo.type = kTypeCombo;
        combo.values = {"Ctrl+C"};
        StoreAssignment(*keyboard, 43, 0, *BuildAssignment(words, combo).assignment);
        ASSERT_TRUE(WriteKeysToDevice(*keyboard, {}));
    }
    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    gui.doc.uiLanguage = "en-US";
    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v2.hex", 3)));
    click(dialog, kFirmwareCmdOpen);
    gui.prompts.nextAnswer(PromptAnswer::Ok);
    gui.prompts.nextAnswer(PromptAnswer::Yes);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return gui.prompts.shown().size() >= 3; }, 20000))
        << gui.prompts.texts().join("|").toStdString();

    const QString backup = dialog.backupPath();
    EXPECT_TRUE(
        backup.startsWith(QString::fromStdString((folder / "state/zarn/backups/Zarn-backup-").string())))
        << backup.toStdString();
    EXPECT_TRUE(std::filesystem::exists(backup.toStdString()));
    const QStringList texts = gui.prompts.texts();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("The Firmware is downloaded successfully.")));
    EXPECT_EQ(texts[1], QStringLiteral("Write the layout the keyboard had before the update back to it?\r\n"
                                       "It is backed up in ") +
                            backup);
    EXPECT_EQ(gui.prompts.shown()[1].buttons, PromptButtons::YesNo);
    EXPECT_EQ(texts[2], QStringLiteral("The layout is written back to the keyboard."));

    const auto after = OpenLayoutDocument(3);
    ASSERT_TRUE(after);
    ASSERT_TRUE(ReadKeysFromDevice(*after, {}));
    after->uiLanguage = "en-US";
    EXPECT_EQ(after->DescribeAssignment(43, 0), "LCTRL | C");
}

TEST_F(FirmwareDialogTest, ALayoutThatCannotBeReadStopsTheUpdateUntilTheUserSaysGoOn) {
    SimServerOptions server;
    server.tracePath = (folder / "trace").string();
    GuiHarness gui(3, 1.0f, server);
    ASSERT_TRUE(gui.doc.device.__createDev());
    // The backup opens a device of its own, and finds this keyboard.
    const ScriptedKeyboard empty(ScriptedKeyboard::sendsNoKey(), ScriptedKeyboardIdentity{0x0483, 0x5239, 1});
    ::setenv("ZARN_VIRTUAL_HID", ("0483:5239:1=" + empty.socketPath()).c_str(), 1);
    const auto firmwareSent = [&] {
        std::ifstream trace(folder / "trace");
        std::string line;
        while (std::getline(trace, line)) {
            if (line.starts_with("> 00003a")) {
                return true;
            }
        }
        return false;
    };

    COrvoDialogFirmwareUpdate dialog(gui.context);
    dialog.show();
    gui.prompts.nextFile(QString::fromStdString(hexFile("Zarn_v2.hex", 3)));
    click(dialog, kFirmwareCmdOpen);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return !gui.prompts.shown().empty(); }, 10000));
    EXPECT_EQ(gui.prompts.texts(),
              QStringList{QStringLiteral("无法读取键盘当前的按键布局，升级后将无法恢复。\r\n仍要升级吗？")});
    EXPECT_EQ(gui.prompts.shown().front().buttons, PromptButtons::YesNo);
    EXPECT_EQ(dialog.updateReady, 1) << "No: the update can be started again";
    EXPECT_EQ(dialog.progressValue, 0);
    gui.worker.waitIdle();
    EXPECT_FALSE(firmwareSent());

    gui.prompts.clear();
    gui.prompts.nextAnswer(PromptAnswer::Yes);
    click(dialog, kFirmwareCmdUpdate);
    ASSERT_TRUE(WaitUntil([&] { return gui.prompts.shown().size() >= 2; }, 20000));
    EXPECT_TRUE(gui.prompts.texts()[1].startsWith(QStringLiteral("固件下载完成。")))
        << "and no question after it";
    QTest::qWait(50);
    EXPECT_EQ(gui.prompts.shown().size(), 2u);
    EXPECT_TRUE(firmwareSent());
    EXPECT_TRUE(dialog.backupPath().isEmpty());
}

} // namespace
