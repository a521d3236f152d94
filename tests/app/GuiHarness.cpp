#include "tests/app/GuiHarness.h"

#include "firmware/COrvoDialogProgress.h"
#include "skin/ScaleFactor.h"
#include "skin/SkinnedDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int ProductIdOf(int modelType) {
    switch (modelType) {
    case 2:
        return 0x5139;
    case 3:
        return 0x5239;
    case 4:
        return 0x5339;
    default:
        return 0x5039;
    }
}

const char* SimModelName(int modelType) {
    return ModelName(modelType);
}

GuiHarness::GuiHarness(int modelType, std::optional<float> scale, SimServerOptions server)
    : context{doc, resources, prompts, worker, hook, clock, scale, {20, 40}, {20, 10, 30}, {}} {
    context.dialogs.deviceOperation = [this](QWidget* parent, int operationCode) {
        return RunProgressDialog(context, parent, operationCode);
    };
    SimConfig config;
    config.model = SimModelName(modelType);
    config.server = std::move(server);
    config.server.notesToStderr = false;
    sim = std::make_unique<RunningSim>(config);
    char entry[512];
    std::snprintf(entry, sizeof entry, "0483:%04X:1=%s", ProductIdOf(modelType), sim->socketPath().c_str());
    ::setenv("ZARN_VIRTUAL_HID", entry, 1);
    doc.BuildCatalogue();
    doc.modelType = modelType;
    // What the main window computes at its start; the dialogs read it from the document.
    doc.scaleFactor = scale.value_or(1.0f);
}

GuiHarness::~GuiHarness() {
    worker.waitIdle();
}

QPoint At(const SkinnedDialog& window, int x, int y) {
    return {Scaled(x, window.scale()), Scaled(y, window.scale())};
}

void ClickAt(QWidget& window, QPoint point) {
    QTest::mouseMove(&window, point);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, point);
}

void MoveTo(QWidget& window, QPoint point) {
    QTest::mouseMove(&window, point);
}

void WhenModal(QWidget* below, std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, below, action, elapsed, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != below) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
