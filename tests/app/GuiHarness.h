#pragma once

#include "model/ConfigDocument.h"
#include "skin/AppResources.h"
#include "skin/DeviceWorker.h"
#include "skin/GuiContext.h"
#include "skin/HighResolutionClock.h"
#include "skin/KeyboardHook.h"
#include "skin/ScriptedPrompts.h"
#include "tests/support/RunningSim.h"

#include <QPoint>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

class QWidget;
class SkinnedDialog;

// A simulated keyboard of one model on a socket of the test, listed as the
// only virtual keyboard, and everything a window needs, without images: the
// document at the scale given, scripted prompts, a scripted keyboard hook, a
// clock that moves by hand, short click intervals and device pauses, and the
// real progress dialog behind device operations.
struct GuiHarness {
    explicit GuiHarness(int modelType = 3, std::optional<float> scale = 1.0f, SimServerOptions server = {});
    ~GuiHarness();

    // The generated skins of the model (ZarnRES.rcc of the build), for tests
    // that look at real pixels; false when the file is missing.
    bool loadSkins();

    std::unique_ptr<RunningSim> sim;
    ConfigDocument doc;
    AppResources resources;
    ScriptedPrompts prompts;
    DeviceWorker worker;
    ScriptedKeyboardHook hook;
    ManualClock clock;
    GuiContext context;
};

// Product id of a ModelType's keyboard.
int ProductIdOf(int modelType);
const char* SimModelName(int modelType);

// The window pixel of a 1080-based point.
QPoint At(const SkinnedDialog& window, int x, int y);
// The centre, in window pixels, of the first element with this id (a label
// where it is drawn); the window's centre when there is none.
QPoint CentreOf(const SkinnedDialog& window, int id);

// A click as a person makes it: the mouse moves there, the left button goes
// down and up.  On a skinned window it returns once a click waiting for a
// double click has run.
void ClickAt(QWidget& window, QPoint point);
void ClickOn(SkinnedDialog& window, int id);
// Down, up, down reported as a double click, up: what the platform delivers.
void DoubleClickAt(QWidget& window, QPoint point);
void RightClickAt(QWidget& window, QPoint point);
void MoveTo(QWidget& window, QPoint point);

// One way a person ends a dialog: a click on one of its commands, or a key
// typed; and the result it ends with.  A row of a table of endings.
struct DialogEnding {
    const char* name;
    int command; // 0: the key instead
    int key;
    int result;
};
// Test names and failure messages show the ending's name, not raw bytes.
void PrintTo(const DialogEnding& ending, std::ostream* os);
// Clicks the ending's command, or types its key into `keyTarget` (the
// widget that has the focus, where the key arrives).
void EndDialog(SkinnedDialog& dialog, QWidget& keyTarget, const DialogEnding& ending);

// Runs `action` from the event loop once a modal dialog other than `below`
// is up (within `timeoutMs`), then returns.
void WhenModal(QWidget* below, std::function<void(QWidget*)> action, int timeoutMs = 3000);
// Processes events until `done` holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
