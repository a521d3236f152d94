#include "app/COrvoApp.h"

#include "app/COrvoDlg.h"
#include "app/QtLanguage.h"
#include "firmware/COrvoDialogProgress.h"
#include "keyeditor/COrvoDialogKeyMapSettings.h"
#include "lighting/COrvoDialogBkLightSettings.h"
#include "model/ConfigDocument.h"

#include <chrono>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <thread>

int DetectModelWithRetries(const ModelDetector& detect, const Sleeper& sleep) {
    int model = detect();
    // A retry pauses after its call even when that call found the keyboard.
    for (int retry = 1; model == 0 && retry < kDetectionAttempts; ++retry) {
        model = detect();
        sleep(kDetectionPauseMs);
    }
    return model;
}

COrvoApp::COrvoApp(ConfigDocument& doc, UserPrompts& prompts, std::optional<float> scaleOverride)
    : doc_(doc), context_{doc,           resources_, prompts, worker_, hook_, clock_,
                          scaleOverride, {},         {},      {},      {},    {}},
      detect_([&doc] { return doc.device.DetectDeviceType(); }),
      sleep_([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }) {
    context_.dialogs.keySettings = [this](QWidget* parent) {
        COrvoDialogKeyMapSettings dialog(context_, parent);
        return dialog.exec();
    };
    context_.dialogs.backlight = [this](QWidget* parent) {
        return RunBkLightSettings(context_, parent);
    };
    context_.dialogs.deviceOperation = [this](QWidget* parent, int operationCode) {
        return RunProgressDialog(context_, parent, operationCode);
    };
}

COrvoApp::~COrvoApp() {
    cleanUp();
}

void COrvoApp::startUp() {
    doc_.modelType = DetectModelWithRetries(detect_, sleep_);
    resources_.registerResourceFile(AppResources::resourceFileCandidates());
    resources_.loadImages(doc_.modelType);
    doc_.BuildCatalogue();
    FollowInterfaceLanguage(doc_.uiLanguage);
}

int COrvoApp::runMainWindow() {
    COrvoDlg window(context_);
    if (!window.initialise()) {
        return 1;
    }
    // What start-up freed (decoding, the catalogue's making) stays with the
    // allocator unless it is handed back; the program then rests smaller.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    resources_.releaseResourcePages();
    window.run();
    return 0;
}

void COrvoApp::cleanUp() {
    worker_.waitIdle();
    resources_.releaseImages();
    resources_.unregisterResourceFile();
}

int COrvoApp::run() {
    startUp();
    const int result = runMainWindow();
    cleanUp();
    return result;
}
