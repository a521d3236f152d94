#include "app/COrvoDlg.h"
#include "app/elements/MainWindowElements.h"
#include "firmware/COrvoDialogProgress.h"
#include "skin/ScaleFactor.h"
#include "skin/UserMessageEvent.h"
#include "tests/app/GuiHarness.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <string>

#include <unistd.h>

namespace {

struct BarCase {
    int code;
    WPARAM count;
    int value;
    int width;
};

TEST(ProgressDialog, BarArithmetic) {
    GuiHarness gui;
    const BarCase cases[] = {{1, 75, 50, 145},   {1, 150, 100, 290}, {1, 205, 136, 394}, {3, 0, 0, 0},
                             {4, 150, 200, 580}, {5, 150, 200, 580}, {6, 75, 100, 290}};
    for (const BarCase& c : cases) {
        COrvoDialogProgress dialog(gui.context);
        dialog.operationCode = c.code;
        EXPECT_EQ(dialog.barWidth(), 2) << "a fresh bar shows progress 1";
        dialog.handle().post(UM_DEVICE_PROGRESS, c.count, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog.progressValue, c.value) << "code " << c.code << " count " << c.count;
        EXPECT_EQ(dialog.barWidth(), c.width);
    }
}

TEST(ProgressDialog, BarIsClippedAtTheImageEdge) {
    GuiHarness gui;
    COrvoDialogProgress dialog(gui.context);
    dialog.operationCode = 4;
    dialog.handle().post(UM_DEVICE_PROGRESS, 150, 0);
    QCoreApplication::processEvents();
    const QImage image = dialog.renderImage(); // 580 pixels asked for, 330 fit
    EXPECT_EQ(image.pixelColor(369, 160), QColor(255, 111, 0));
    EXPECT_NE(image.pixelColor(39, 160), QColor(255, 111, 0));
}

struct OperationCase {
    const char* name;
    int code;
    int finalValue;
};

// Test names and failure messages show the case name, not raw bytes.
void PrintTo(const OperationCase& c, std::ostream* os) {
    *os << c.name;
}

class OperationTest : public ::testing::TestWithParam<OperationCase> {};

TEST_P(OperationTest, RunsOnTheSimulatedKeyboard) {
    const OperationCase& c = GetParam();
    GuiHarness gui(4);
    ASSERT_TRUE(gui.doc.device.__createDev());
    gui.doc.ResetToDefaults();
    if (c.code == 3) {
        // A keyboard sends only the entries it holds: give it a full table first.
        ASSERT_TRUE(RunDeviceOperation(1, gui.doc, {}, gui.context.pauses));
    }
    COrvoDialogProgress dialog(gui.context);
    dialog.operationCode = c.code;
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.outcome(), ProgressOutcome::Finished);
    if (c.code == 3) {
        // The bar follows the slot numbers of the entries the keyboard sends.
        EXPECT_GT(dialog.progressValue, 1);
    } else {
        EXPECT_EQ(dialog.progressValue, c.finalValue);
    }
    EXPECT_TRUE(gui.doc.progressWindow == dialog.handle());
}

INSTANTIATE_TEST_SUITE_P(ProgressDialog, OperationTest,
                         ::testing::Values(OperationCase{"WriteKeys", 1, 136},
                                           OperationCase{"ReadKeysAndLights", 3, 0},
                                           OperationCase{"WriteLights", 4, 200},
                                           OperationCase{"ReadCounters", 5, 200},
                                           OperationCase{"ReadLights", 6, 200}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ProgressDialog, ReadingKeepsTheDialogOpenWhileTheLightsFollow) {
    GuiHarness gui(4);
    gui.context.pauses = DevicePauses{}; // the keyboard's own pauses
    ASSERT_TRUE(gui.doc.device.__createDev());
    gui.doc.ResetToDefaults();
    ASSERT_TRUE(RunDeviceOperation(1, gui.doc, {}, {0, 0}));
    COrvoDialogProgress dialog(gui.context);
    dialog.operationCode = 3;
    QElapsedTimer elapsed;
    elapsed.start();
    dialog.exec();
    EXPECT_GE(elapsed.elapsed(), 2000);
    EXPECT_EQ(dialog.outcome(), ProgressOutcome::Finished);
}

TEST(ProgressDialog, CancelReturnsAtOnceAndTheNextOperationWaits) {
    SimServerOptions slow;
    slow.latency = std::chrono::microseconds(5000); // about a second for the 206 slots
    GuiHarness gui(3, 1.0f, slow);
    ASSERT_TRUE(gui.doc.device.__createDev());
    gui.doc.ResetToDefaults();
    ASSERT_TRUE(RunDeviceOperation(1, gui.doc, {}, {0, 0}));
    QElapsedTimer elapsed;
    {
        COrvoDialogProgress dialog(gui.context);
        dialog.operationCode = 3;
        WhenModal(nullptr, [](QWidget* modal) {
            auto* progress = static_cast<COrvoDialogProgress*>(modal);
            QTest::qWait(100);
            ClickAt(*progress, QPoint(Scaled(280, 1.0f), Scaled(220, 1.0f)));
        });
        elapsed.start();
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_EQ(dialog.outcome(), ProgressOutcome::Cancelled);
        EXPECT_EQ(dialog.progressValue, 0);
    }
    EXPECT_LT(elapsed.elapsed(), 600);
    COrvoDialogProgress next(gui.context);
    next.operationCode = 1;
    EXPECT_EQ(next.exec(), QDialog::Accepted);
    EXPECT_EQ(next.outcome(), ProgressOutcome::Finished);
    EXPECT_EQ(next.progressValue, 136);
    // A read after the cancelled one is allowed again.
    EXPECT_EQ(RunProgressDialog(gui.context, nullptr, 5), ProgressOutcome::Finished);
}

// A cancelled read used to run on: a keyboard that said nothing kept the
// worker for its key read, the pause and its light read, and the next Save,
// Open or exit waited for all of it.  Now it stops within one read time-out.
TEST(ProgressDialog, CancelEndsTheWorkerWithinOneReadTimeOut) {
    SimServerOptions silent;
    silent.stopAfter = 0; // connected, answers nothing
    GuiHarness gui(4, 1.0f, silent);
    gui.context.pauses = DevicePauses{}; // the keyboard's own pauses
    ASSERT_TRUE(gui.doc.device.__createDev());
    gui.doc.ResetToDefaults();
    const auto before = gui.doc.keyMode;
    COrvoDialogProgress dialog(gui.context);
    dialog.operationCode = 3;
    WhenModal(nullptr, [](QWidget* modal) {
        QTest::qWait(200);
        ClickAt(*modal, QPoint(Scaled(280, 1.0f), Scaled(220, 1.0f)));
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    QElapsedTimer sinceCancel;
    sinceCancel.start();
    gui.worker.waitIdle();
    EXPECT_LT(sinceCancel.elapsed(), 2500);
    EXPECT_EQ(gui.doc.keyMode, before) << "a cancelled read changes nothing";
}

TEST(ProgressDialog, ADoneQueuedBeforeTheCancelDoesNotUndoIt) {
    GuiHarness gui(4);
    COrvoDialogProgress dialog(gui.context);
    dialog.operationCode = 6;
    QCoreApplication::postEvent(&dialog, new UserMessageEvent(UM_DEVICE_DONE, COrvoDialogProgress::kDone, 0));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.outcome(), ProgressOutcome::Cancelled);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// Commands (the byte after the report id and the first payload byte) of the
// reports a simulated keyboard received, from its trace.
std::set<std::string> ReceivedCommands(const std::string& tracePath) {
    std::set<std::string> commands;
    std::ifstream trace(tracePath);
    for (std::string line; std::getline(trace, line);) {
        if (line.starts_with("> ") && line.size() >= 8) {
            commands.insert(line.substr(6, 2));
        }
    }
    return commands;
}

TEST(ProgressDialog, ReadAllAsksForTheLightsAlsoAfterAFailedKeyRead) {
    const std::filesystem::path trace =
        std::filesystem::temp_directory_path() / ("zarn-readall-" + std::to_string(::getpid()) + ".trace");
    SimServerOptions silent;
    silent.stopAfter = 0; // connected, answers nothing
    silent.tracePath = trace.string();
    {
        GuiHarness gui(4, 1.0f, silent);
        ASSERT_TRUE(gui.doc.device.__createDev());
        EXPECT_FALSE(RunDeviceOperation(3, gui.doc, {}, {0, 0}));
    }
    const std::set<std::string> commands = ReceivedCommands(trace.string());
    std::filesystem::remove(trace);
    EXPECT_TRUE(commands.contains("f2")) << "the key table was asked for";
    EXPECT_TRUE(commands.contains("e2")) << "the lights were asked for";
}

struct FailureCase {
    const char* name;
    int command;        // main window command
    bool unplug;        // else the keyboard stays connected and answers nothing
    const char* reason; // the start of the second line, in the interface language
};

// Test names and failure messages show the case name, not raw bytes.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, MainWindowSaysFailedAndKeepsUnwrittenChanges) {
    const FailureCase& c = GetParam();
    GuiHarness gui(4);
    COrvoDlg window(gui.context);
    ASSERT_TRUE(window.initialise());
    window.show();
    gui.prompts.clear();
    gui.doc.unsavedKeyChanges = 1;
    gui.prompts.nextAnswer(PromptAnswer::Ok);
    gui.prompts.nextAnswer(PromptAnswer::Ok);
    gui.prompts.nextAnswer(PromptAnswer::No); // the save question after an unplug
    const SkinItem* button = window.element(c.command);
    ASSERT_NE(button, nullptr);
    if (c.unplug) {
        gui.sim.reset();
    } else {
        gui.sim->stop();
    }
    ClickAt(window, QPoint(button->rect.left + 5, button->rect.top + 5));
    ASSERT_FALSE(gui.prompts.texts().isEmpty());
    // The program's own message, then why.
    const QStringList lines = gui.prompts.texts().front().split(u'\n');
    ASSERT_EQ(lines.size(), 2) << gui.prompts.texts().front().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Failed!"));
    EXPECT_TRUE(lines[1].startsWith(QString::fromUtf8(c.reason))) << lines[1].toStdString();
    EXPECT_EQ(gui.prompts.shown().front().caption, QStringLiteral("ZarnRGB"));
    EXPECT_EQ(gui.doc.unsavedKeyChanges, 1);
    if (c.unplug) {
        // The device monitor notices the unplugged keyboard: the program ends, offering to save first.
        EXPECT_TRUE(WaitUntil([&] { return window.endedByUnplug(); }, 5000));
        EXPECT_TRUE(gui.prompts.texts().contains(QStringLiteral("Keyboard is not connected")));
        EXPECT_TRUE(gui.prompts.texts().contains(QStringLiteral("是否保存按键配置文件??")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProgressDialog, FailureTest,
    ::testing::Values(FailureCase{"WriteKeysUnplugged", kCmdWriteKeys, true, "键盘已断开（"},
                      FailureCase{"ReadAllSilent", kCmdReadAll, false, "键盘没有应答（"},
                      FailureCase{"ReadAllUnplugged", kCmdReadAll, true, "键盘已断开（"},
                      FailureCase{"ReadCountersSilent", kCmdReadCounters, false, "键盘没有应答（"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MainWindow, WriteKeysClearsUnwrittenChangesAndSaysOk) {
    GuiHarness gui(4);
    COrvoDlg window(gui.context);
    ASSERT_TRUE(window.initialise());
    window.show();
    gui.prompts.clear();
    gui.doc.unsavedKeyChanges = 1;
    const SkinItem* write = window.element(kCmdWriteKeys);
    ClickAt(window, QPoint(write->rect.left + 5, write->rect.top + 5));
    EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("OK!!")});
    EXPECT_EQ(gui.prompts.shown().front().icon, PromptIcon::Exclamation);
    EXPECT_EQ(gui.doc.unsavedKeyChanges, 0);
}

TEST(MainWindow, UnpluggedWithUnwrittenChangesOffersToSave) {
    GuiHarness gui(3);
    COrvoDlg window(gui.context);
    ASSERT_TRUE(window.initialise());
    window.show();
    gui.prompts.clear();
    gui.doc.unsavedKeyChanges = 1;
    gui.prompts.nextAnswer(PromptAnswer::Ok);
    gui.prompts.nextAnswer(PromptAnswer::Yes);
    gui.prompts.nextFile(std::nullopt);
    gui.sim->stop();
    gui.sim.reset();
    window.deviceChanged();
    EXPECT_EQ(gui.prompts.texts(), (QStringList{QStringLiteral("Keyboard is not connected"),
                                                QStringLiteral("是否保存按键配置文件??")}));
    EXPECT_EQ(gui.prompts.filesAsked().size(), 1u);
    EXPECT_TRUE(window.endedByUnplug());
    EXPECT_FALSE(window.isVisible());
}

} // namespace
