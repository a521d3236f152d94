#pragma once

#include "skin/AppResources.h"
#include "skin/DeviceWorker.h"
#include "skin/GuiContext.h"
#include "skin/HighResolutionClock.h"
#include "skin/KeyboardHook.h"

#include <functional>
#include <optional>

class ConfigDocument;
class UserPrompts;

using ModelDetector = std::function<int()>;
using Sleeper = std::function<void(int milliseconds)>;

inline constexpr int kDetectionAttempts = 12;
inline constexpr int kDetectionPauseMs = 1000;

// Asks for the model once and, while none is found, up to 11 more times,
// pausing after each retry; the last answer (0 included) is the result.
int DetectModelWithRetries(const ModelDetector& detect, const Sleeper& sleep);

// The program: finds the model, loads the shared drawing resources, builds
// the catalogue and runs the main window modally.
class COrvoApp {
public:
    COrvoApp(ConfigDocument& doc, UserPrompts& prompts, std::optional<float> scaleOverride = std::nullopt);
    ~COrvoApp();
    COrvoApp(const COrvoApp&) = delete;
    COrvoApp& operator=(const COrvoApp&) = delete;

    void setDetector(ModelDetector detect) { detect_ = std::move(detect); }
    void setSleeper(Sleeper sleep) { sleep_ = std::move(sleep); }

    // Detection, resource file, images of the model, catalogue.
    void startUp();
    // Runs the main window; 0 after a normal end, 1 when it could not open the keyboard.
    int runMainWindow();
    // Releases the images and the resource file.
    void cleanUp();
    int run();

    GuiContext& context() { return context_; }
    AppResources& resources() { return resources_; }

private:
    ConfigDocument& doc_;
    AppResources resources_;
    DeviceWorker worker_;
    DeviceKeyboardHook hook_;
    SystemClock clock_;
    GuiContext context_;
    ModelDetector detect_;
    Sleeper sleep_;
};
