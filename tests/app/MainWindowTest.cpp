#include "app/COrvoApp.h"
#include "app/COrvoDlg.h"
#include "app/QtLanguage.h"
#include "app/elements/MainWindowElements.h"
#include "model/ProfileFile.h"
#include "platform/TransferLock.h"
#include "skin/ScriptedPrompts.h"
#include "tests/app/GuiHarness.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

QPoint KeyCentre(const COrvoDlg& window, int key) {
    const SkinRect& r = window.element(KeyElementId(key))->rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct MainWindowFixture {
    explicit MainWindowFixture(int model = 3, float scale = 1.0f) : gui(model, scale), window(gui.context) {
        initialised = window.initialise();
        window.show();
        gui.prompts.clear();
    }
    GuiHarness gui;
    COrvoDlg window;
    bool initialised = false;
};

TEST(MainWindow, CommandAtTheBacklightPlaceDependsOnTheModel) {
    {
        MainWindowFixture f(3);
        ASSERT_TRUE(f.initialised);
        EXPECT_EQ(f.window.commandAt(At(f.window, 480, 110)), kCmdReadAll);
        EXPECT_EQ(f.window.element(kCmdBacklight), nullptr);
        ClickAt(f.window, At(f.window, 480, 110));
        EXPECT_EQ(f.gui.prompts.texts(), QStringList{QStringLiteral("OK!!")});
    }
    {
        MainWindowFixture f(4);
        ASSERT_TRUE(f.initialised);
        int backlightRuns = 0;
        f.gui.context.dialogs.backlight = [&](QWidget*) {
            ++backlightRuns;
            return static_cast<int>(QDialog::Rejected);
        };
        ClickAt(f.window, At(f.window, 480, 110));
        EXPECT_EQ(backlightRuns, 1);
        EXPECT_TRUE(f.gui.prompts.texts().isEmpty());
    }
}

TEST(MainWindow, LanguageAndLayerToggle) {
    MainWindowFixture f;
    ConfigDocument& doc = f.gui.doc;
    const QPoint language = At(f.window, 800, 110);
    EXPECT_EQ(doc.uiLanguage, "zh-CN");
    ClickAt(f.window, language);
    EXPECT_EQ(doc.uiLanguage, "en-US");
    // Label 65 always names the other language.
    EXPECT_EQ(f.window.element(65)->captions.at("en-US"), "简体中文");
    ClickAt(f.window, language);
    EXPECT_EQ(doc.uiLanguage, "zh-CN");

    const QPoint layer = At(f.window, 1140, 100);
    f.window.renderImage();
    EXPECT_TRUE(f.window.element(kLabelTopLayer)->selected);
    EXPECT_FALSE(f.window.element(kLabelFnLayer)->selected);
    ClickAt(f.window, layer);
    f.window.renderImage();
    EXPECT_EQ(doc.currentLayer, 1);
    EXPECT_FALSE(f.window.element(kLabelTopLayer)->selected);
    EXPECT_TRUE(f.window.element(kLabelFnLayer)->selected);
    ClickAt(f.window, layer);
    EXPECT_EQ(doc.currentLayer, 0);
}

TEST(MainWindow, StatusTextNamesTheTitleExtremesAndTheHoveredKey) {
    MainWindowFixture f(2);
    ConfigDocument& doc = f.gui.doc;
    doc.highestKey = -1;
    doc.lowestKey = 43;
    f.window.renderImage();
    EXPECT_EQ(f.window.statusText(),
              "ZarnBT 编程软件 [版本 1.0.5]\r\n高频键：      低频键：A \r\n敲击次数：");

    doc.uiLanguage = "en-US";
    doc.highestKey = 43;
    doc.keyCounters[43] = 0;
    MoveTo(f.window, KeyCentre(f.window, 43));
    f.window.renderImage();
    const std::string expected =
        "ZarnBT Programming Software [Ver 1.0.5]\r\nHighest: A  Lowest: A \r\nCounter: 0" +
        std::string("\r\nTop layer Key: ") + doc.typeNamesEn[doc.keyMode[86]] + " " +
        doc.DescribeAssignment(43, 0) + "\r\nFn layer Key: " + doc.typeNamesEn[doc.keyMode[87]] + " " +
        doc.DescribeAssignment(43, 1) + "\r\n";
    EXPECT_EQ(f.window.statusText(), expected);

    doc.keyCounters[43] = 0xFFFFFFFF; // the keyboard's counters are unsigned
    f.window.renderImage();
    EXPECT_NE(f.window.statusText().find("Counter: 4294967295\r\n"), std::string::npos);

    doc.keyCounters[43] = -1; // never read: nothing after the label
    f.window.renderImage();
    EXPECT_NE(f.window.statusText().find("Counter: \r\nTop layer Key"), std::string::npos);
    EXPECT_EQ(f.window.statusBox()->toPlainText().toStdString().find('\r'), std::string::npos);
}

// The box is written when the hovered key or the document changes, never while painting.
TEST(MainWindow, StatusBoxFollowsTheHoveredKeyAndTheCommands) {
    MainWindowFixture f(3);
    MoveTo(f.window, At(f.window, 1270, 660)); // away from every key
    const QString title = f.window.statusBox()->toPlainText();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Zarn 编程软件"))) << title.toStdString();
    EXPECT_FALSE(title.contains(QStringLiteral("顶层键"))) << title.toStdString();
    MoveTo(f.window, KeyCentre(f.window, 43));
    EXPECT_TRUE(f.window.statusBox()->toPlainText().contains(QStringLiteral("顶层键")));
    MoveTo(f.window, At(f.window, 1270, 660));
    EXPECT_EQ(f.window.statusBox()->toPlainText().toStdString(), title.toStdString());
    ClickAt(f.window, At(f.window, 800, 110)); // language
    EXPECT_TRUE(f.window.statusBox()->toPlainText().startsWith(QStringLiteral("Zarn Programming Software")));
}

TEST(MainWindow, FactoryFnLayerOfZarnShowsFunctionMarkers) {
    MainWindowFixture f(3);
    ClickAt(f.window, At(f.window, 1140, 100));
    MoveTo(f.window, At(f.window, 1270, 660)); // away from every key
    const QImage image = f.window.renderImage();
    const std::set<int> expected = {1, 10, 67, 68, 69, 72, 74, 76};
    const QColor cyan(0, 255, 255);
    for (int key = 1; key <= 103; ++key) {
        const SkinItem* item = f.window.element(KeyElementId(key));
        const int x = (item->rect.left + item->rect.right) / 2;
        const bool marked = image.pixelColor(x, item->rect.bottom - 2) == cyan;
        EXPECT_EQ(marked, expected.count(key) == 1) << "key " << key;
        EXPECT_EQ(item->selected != 0, expected.count(key) == 1) << "key " << key;
        EXPECT_NE(image.pixelColor(x, item->rect.bottom - 6), cyan) << "marker is 4 pixels high, key " << key;
    }
    // Single assignments on the top layer look pressed without a marker.
    ClickAt(f.window, At(f.window, 1140, 100));
    const QImage top = f.window.renderImage();
    const SkinItem* a = f.window.element(KeyElementId(43));
    EXPECT_TRUE(a->selected);
    EXPECT_EQ(f.gui.doc.keyMode[86], 1);
    EXPECT_NE(top.pixelColor((a->rect.left + a->rect.right) / 2, a->rect.bottom - 2), cyan);
}

TEST(MainWindow, StatusBoxPlacementFollowsTheScale) {
    MainWindowFixture f(3, 1.5f);
    EXPECT_EQ(f.window.statusBox()->geometry(), QRect(40, 852, 1835, 123));
    EXPECT_EQ(f.window.statusBox()->font().pixelSize(), 19);
    const QPalette colours = f.window.statusBox()->palette();
    EXPECT_EQ(colours.color(QPalette::Text), QColor(255, 111, 0));
    EXPECT_EQ(colours.color(QPalette::Base), QColor(20, 20, 20));
    EXPECT_EQ(f.window.size(), QSize(1920, 1005));
}

struct ExitCase {
    const char* name;
    int unsaved;
    std::vector<PromptAnswer> answers;
    bool closes;
    int saveDialogs;
};

// Test names and failure messages show the case name, not raw bytes.
void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.name;
}

class ExitFlowTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitFlowTest, AsksAsTheChangesRequire) {
    const ExitCase& c = GetParam();
    MainWindowFixture f;
    f.gui.doc.unsavedKeyChanges = c.unsaved;
    for (PromptAnswer a : c.answers) {
        f.gui.prompts.nextAnswer(a);
    }
    ClickAt(f.window, At(f.window, 1200, 30));
    EXPECT_EQ(f.window.isVisible(), !c.closes);
    EXPECT_EQ(f.gui.prompts.shown().size(), c.answers.size());
    EXPECT_EQ(static_cast<int>(f.gui.prompts.filesAsked().size()), c.saveDialogs);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ExitFlowTest,
    ::testing::Values(ExitCase{"UnsavedNoStays", 1, {PromptAnswer::No}, false, 0},
                      ExitCase{"UnsavedYesThenNo", 1, {PromptAnswer::Yes, PromptAnswer::No}, true, 0},
                      ExitCase{"UnsavedYesThenSave", 1, {PromptAnswer::Yes, PromptAnswer::Yes}, true, 1},
                      ExitCase{"SavedNo", 0, {PromptAnswer::No}, true, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MainWindow, ExitQuestionsAreWordedInTheCurrentLanguage) {
    MainWindowFixture f;
    f.gui.doc.unsavedKeyChanges = 1;
    f.gui.prompts.nextAnswer(PromptAnswer::No);
    ClickAt(f.window, At(f.window, 1200, 30));
    f.gui.doc.uiLanguage = "en-US";
    f.gui.prompts.nextAnswer(PromptAnswer::Yes);
    f.gui.prompts.nextAnswer(PromptAnswer::No);
    ClickAt(f.window, At(f.window, 1200, 30));
    EXPECT_EQ(f.gui.prompts.texts(),
              (QStringList{QStringLiteral("配置未写入，是否继续退出??"),
                           QStringLiteral("Configuration don't be writted,continue to exit??"),
                           QStringLiteral("Save configuration file of key??")}));
    EXPECT_EQ(f.gui.prompts.shown().front().caption, QStringLiteral("Zarn"));
    EXPECT_EQ(f.gui.prompts.shown().front().icon, PromptIcon::Question);
}

TEST(MainWindow, ClicksAreBlockedForHalfASecondAfterTheOpenDialog) {
    MainWindowFixture f;
    f.gui.prompts.nextFile(std::nullopt); // the user cancels the open dialog
    ClickAt(f.window, At(f.window, 150, 110));
    ASSERT_EQ(f.gui.prompts.filesAsked().size(), 1u);
    EXPECT_EQ(f.gui.prompts.filesAsked().front().request.filter,
              QStringLiteral("pro(*.pro)|*.pro|All Files(*.*)|*.*||"));
    ClickAt(f.window, At(f.window, 800, 110));
    EXPECT_EQ(f.gui.doc.uiLanguage, "zh-CN");
    QTest::qWait(600);
    ClickAt(f.window, At(f.window, 800, 110));
    EXPECT_EQ(f.gui.doc.uiLanguage, "en-US");
}

TEST(MainWindow, KeyElementOpensTheKeySettingsOfItsSlot) {
    MainWindowFixture f;
    int selectedWhenOpened = 0;
    f.gui.context.dialogs.keySettings = [&](QWidget*) {
        selectedWhenOpened = f.gui.doc.selectedKey;
        return static_cast<int>(QDialog::Accepted);
    };
    ClickAt(f.window, KeyCentre(f.window, 43));
    EXPECT_EQ(selectedWhenOpened, 43);
    EXPECT_EQ(f.gui.doc.unsavedKeyChanges, 1);
}

class ProfileTest : public ::testing::Test {
protected:
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("zarn-profile-" + std::to_string(::getpid()) + "-" +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }
};

TEST_F(ProfileTest, SaveAndOpenRoundTrip) {
    MainWindowFixture f;
    const std::string path = (folder / "mine.pro").string();
    f.gui.doc.keyMode[86] = 0;
    f.gui.prompts.nextFile(QString::fromStdString(path));
    ClickAt(f.window, At(f.window, 60, 110));
    ASSERT_TRUE(std::filesystem::exists(path));
    f.gui.doc.ResetToDefaults();
    EXPECT_NE(f.gui.doc.keyMode[86], 0);
    f.gui.prompts.nextFile(QString::fromStdString(path));
    ClickAt(f.window, At(f.window, 150, 110));
    EXPECT_EQ(f.gui.doc.keyMode[86], 0);
    EXPECT_TRUE(f.gui.prompts.texts().isEmpty());
}

struct ProfileFailure {
    const char* name;
    const char* content; // null: no file at all
    bool english;
    const char* message;
};

// Test names and failure messages show the case name, not raw bytes.
void PrintTo(const ProfileFailure& c, std::ostream* os) {
    *os << c.name;
}

class ProfileFailureTest : public ProfileTest, public ::testing::WithParamInterface<ProfileFailure> {};

TEST_P(ProfileFailureTest, RefusedOpenSaysWhyAndChangesNothing) {
    const ProfileFailure& c = GetParam();
    MainWindowFixture f;
    const std::string path = (folder / "other.pro").string();
    if (c.content != nullptr) {
        std::ofstream(path) << c.content;
    }
    if (c.english) {
        f.gui.doc.uiLanguage = "en-US";
    }
    f.gui.doc.keyMode[86] = 5;
    f.gui.prompts.nextFile(QString::fromStdString(path));
    ClickAt(f.window, At(f.window, 150, 110));
    EXPECT_EQ(f.gui.doc.keyMode[86], 5);
    ASSERT_EQ(f.gui.prompts.shown().size(), 1u);
    EXPECT_EQ(f.gui.prompts.shown().front().text, QString::fromUtf8(c.message));
    EXPECT_EQ(f.gui.prompts.shown().front().caption, QStringLiteral("Zarn"));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ProfileFailureTest,
    ::testing::Values(ProfileFailure{"Missing", nullptr, false, "打开配置文件失败"},
                      ProfileFailure{"NotXml", "<<<not xml", true, "The configuration file is damaged"},
                      ProfileFailure{
                          "OtherModel", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZarnRGB></ZarnRGB>\n",
                          true, "The configuration file does not match,please select a file of Zarn"},
                      ProfileFailure{"BadValue",
                                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Zarn><CurrentSettings>"
                                     "<KEY ID=\"43\" Level=\"0\" Mode=\"12\"/></CurrentSettings></Zarn>\n",
                                     true,
                                     "The configuration file holds a value the keyboard cannot take:\n"
                                     "KEY ID=43 Level=0: Mode 12 is not an assignment type (0 to 8)"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProfileTest, FailedSaveSaysWhy) {
    MainWindowFixture f;
    f.gui.prompts.nextFile(QString::fromStdString((folder / "missing-folder" / "x.pro").string()));
    ClickAt(f.window, At(f.window, 60, 110));
    EXPECT_EQ(f.gui.prompts.texts(), QStringList{QStringLiteral("保存配置文件失败")});
}

TEST(MainWindow, TrayMessagesForOtherIconsAreIgnored) {
    MainWindowFixture f;
    f.window.hide();
    f.window.trayNotify(127, 0x203);
    EXPECT_FALSE(f.window.isVisible());
    f.window.trayNotify(128, 0x203);
    EXPECT_TRUE(f.window.isVisible());
    EXPECT_FALSE(f.window.trayIconShown());
}

TEST(MainWindow, TrayMenuExitClosesWithoutTheExitQuestions) {
    MainWindowFixture f;
    f.gui.doc.unsavedKeyChanges = 1;
    f.gui.doc.uiLanguage = "en-US";
    f.window.trayNotify(128, 0x205);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("Exit"));
    menu->actions().front()->trigger();
    menu->close();
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_TRUE(f.gui.prompts.shown().empty());
}

} // namespace

namespace {

// The main window runs in QDialog::exec(), which ends whenever the dialog is
// hidden: hiding to the notification area must not end the program, nor skip
// the exit questions.
TEST(MainWindowTray, HidingKeepsTheProgramRunningUntilTheWindowIsBackAndLeft) {
    GuiHarness gui(3);
    gui.context.desktop.trayAvailable = [] {
        return true;
    };
    COrvoDlg window(gui.context);
    ASSERT_TRUE(window.initialise());
    gui.doc.unsavedKeyChanges = 1;
    gui.doc.uiLanguage = "en-US";

    bool hiddenWhileRunning = false;
    bool backWhileRunning = false;
    QTimer::singleShot(0, &window, [&] {
        ClickAt(window, At(window, 1152, 35));
        QTimer::singleShot(200, &window, [&] {
            hiddenWhileRunning = !window.isVisible() && window.trayIconShown();
            window.trayNotify(128, 0x203);
            QTimer::singleShot(200, &window, [&] {
                backWhileRunning = window.isVisible() && !window.trayIconShown();
                // Leave with the questions: continue although unwritten, do not save.
                gui.prompts.nextAnswer(PromptAnswer::Yes);
                gui.prompts.nextAnswer(PromptAnswer::No);
                ClickAt(window, At(window, 1206, 35));
            });
        });
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &window, [&] { window.done(QDialog::Rejected); });
    watchdog.start(10000);
    window.run();
    watchdog.stop();

    EXPECT_TRUE(hiddenWhileRunning);
    EXPECT_TRUE(backWhileRunning);
    EXPECT_EQ(gui.prompts.texts(),
              (QStringList{QStringLiteral("Configuration don't be writted,continue to exit??"),
                           QStringLiteral("Save configuration file of key??")}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.trayIconShown());
}

// A hidden window's run ends at once through the tray menu's exit (without
// the exit questions) or when the keyboard is unplugged, and takes its icon along.
TEST(MainWindowTray, AHiddenRunEndsByTheTrayMenuOrAnUnplug) {
    struct Case {
        const char* name;
        std::function<void(GuiHarness&, COrvoDlg&)> end;
        QStringList said;
    };
    const Case cases[] = {
        {"tray menu",
         [](GuiHarness&, COrvoDlg& window) {
             window.trayNotify(128, 0x205);
             auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
             ASSERT_NE(menu, nullptr);
             menu->actions().front()->trigger();
             menu->close();
         },
         {}},
        {"unplugged",
         [](GuiHarness& gui, COrvoDlg& window) {
             gui.sim->stop();
             window.deviceChanged();
         },
         {QStringLiteral("Keyboard is not connected")}},
    };
    for (const Case& c : cases) {
        GuiHarness gui(3);
        gui.context.desktop.trayAvailable = [] {
            return true;
        };
        COrvoDlg window(gui.context);
        ASSERT_TRUE(window.initialise());
        bool endedWhileHidden = false;
        QTimer::singleShot(0, &window, [&] {
            ClickAt(window, At(window, 1152, 35));
            QTimer::singleShot(100, &window, [&] {
                endedWhileHidden = window.trayIconShown() && !window.isVisible();
                c.end(gui, window);
            });
        });
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, &window, [&] { window.done(QDialog::Accepted); });
        watchdog.start(10000);
        EXPECT_EQ(window.run(), QDialog::Rejected) << c.name;
        EXPECT_TRUE(endedWhileHidden) << c.name;
        EXPECT_FALSE(window.trayIconShown()) << c.name;
        EXPECT_EQ(gui.prompts.texts(), c.said) << c.name;
    }
}

} // namespace

namespace {

// Another program is in the middle of a transfer: the program keeps its own
// message and says why on a second line, in the interface language.
TEST(MainWindow, AKeyboardInUseElsewhereIsOccupiedWithTheReason) {
    GuiHarness gui(3);
    TransferLock otherProgram(TransferLock::Kind::Socket, gui.sim->socketPath());
    ASSERT_FALSE(otherProgram.acquire().failed());
    COrvoDlg window(gui.context);
    EXPECT_FALSE(window.initialise());
    EXPECT_EQ(gui.prompts.texts(), QStringList{QStringLiteral("Keyboard has be occupied!\n") +
                                               QString::fromStdString(gui.sim->socketPath()) +
                                               QStringLiteral(" 正被另一个程序使用，请等它完成后再试。")});
}

} // namespace

namespace {

// Help opens the guide with the desktop's handler; without one, or without
// the guide, the click is answered with where the guide is (or belongs).
TEST(MainWindow, HelpSaysWhereTheGuideIsWhenNothingOpensIt) {
    const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/Zarn.html");
    struct Case {
        const char* name;
        bool guideThere;
        bool handler;
        QString said;
    };
    const Case cases[] = {
        {"opened", true, true, {}},
        {"no handler", true, false,
         QStringLiteral("No program is set up to open the user guide. It is here:\n") + guide},
        {"no guide", false, true, QStringLiteral("The user guide Zarn.html is missing; it belongs in ")},
    };
    for (const Case& c : cases) {
        if (c.guideThere) {
            std::ofstream(guide.toStdString()) << "<html></html>";
        } else {
            std::filesystem::remove(guide.toStdString());
        }
        MainWindowFixture f;
        f.gui.doc.uiLanguage = "en-US";
        QStringList opened;
        f.gui.context.desktop.openDocument = [&](const QString& path) {
            opened << path;
            return c.handler;
        };
        ClickAt(f.window, At(f.window, 1180, 35));
        EXPECT_EQ(opened, c.guideThere ? QStringList{guide} : QStringList{}) << c.name;
        const QStringList said = f.gui.prompts.texts();
        if (c.said.isEmpty()) {
            EXPECT_TRUE(said.isEmpty()) << c.name;
        } else {
            ASSERT_EQ(said.size(), 1) << c.name;
            EXPECT_TRUE(said.front().startsWith(c.said)) << c.name << ": " << said.front().toStdString();
        }
    }
    std::filesystem::remove(guide.toStdString());
}

} // namespace

namespace {

QString yesButtonText() {
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

// Qt's own buttons and dialogs follow the interface language: Chinese from
// the start, English after the language command, Chinese again after the next.
TEST(MainWindow, QtsOwnTextsFollowTheLanguageCommand) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_zh_CN.qm"))) {
        GTEST_SKIP() << "Qt's Chinese translations (qt6-translations-l10n) are not installed";
    }
    ::unsetenv("ZARN_VIRTUAL_HID");
    ConfigDocument doc;
    ScriptedPrompts prompts;
    COrvoApp program(doc, prompts, 1.0f);
    program.setDetector([] { return 3; });
    program.startUp();
    EXPECT_EQ(doc.uiLanguage, "zh-CN");
    EXPECT_TRUE(yesButtonText().contains(QStringLiteral("是"))) << yesButtonText().toStdString();

    MainWindowFixture f;
    const QPoint language = At(f.window, 800, 110);
    ClickAt(f.window, language);
    EXPECT_EQ(f.gui.doc.uiLanguage, "en-US");
    EXPECT_EQ(yesButtonText(), QStringLiteral("&Yes"));
    ClickAt(f.window, language);
    EXPECT_TRUE(yesButtonText().contains(QStringLiteral("是"))) << yesButtonText().toStdString();
    FollowInterfaceLanguage("en-US");
}

} // namespace
