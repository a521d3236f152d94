#include "tests/app/GuiHarness.h"

#include "firmware/COrvoDialogProgress.h"
#include "skin/ScaleFactor.h"
#include "skin/SkinnedDialog.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMouseEvent>
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
    : context{doc, resources, prompts, worker, hook, clock, scale, {20, 40}, {20, 10, 30}, {}, {}, {}} {
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
    resources.releaseImages();
    resources.unregisterResourceFile();
}

bool GuiHarness::loadSkins() {
    const QString file = QStringLiteral(ZARN_BUILD_DIR "/app/ZarnRES.rcc");
    if (resources.registerResourceFile({file}) != file) {
        return false;
    }
    resources.loadImages(doc.modelType);
    return true;
}

QPoint At(const SkinnedDialog& window, int x, int y) {
    return {Scaled(x, window.scale()), Scaled(y, window.scale())};
}

QPoint CentreOf(const SkinnedDialog& window, int id) {
    const SkinItem* item = window.element(id);
    return item != nullptr ? window.windowRect(*item).center() : window.rect().center();
}

namespace {

void settleClick(QWidget& window) {
    if (const auto* skinned = qobject_cast<SkinnedDialog*>(&window)) {
        WaitUntil([skinned] { return !skinned->clickPending(); }, 5000);
    }
}

} // namespace

void ClickAt(QWidget& window, QPoint point) {
    QTest::mouseMove(&window, point);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, point);
    settleClick(window);
}

void ClickOn(SkinnedDialog& window, int id) {
    ClickAt(window, CentreOf(window, id));
}

void DoubleClickAt(QWidget& window, QPoint point) {
    QTest::mouseMove(&window, point);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(&window, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, point);
    settleClick(window);
}

void RightClickAt(QWidget& window, QPoint point) {
    QTest::mouseMove(&window, point);
    QTest::mouseClick(&window, Qt::RightButton, Qt::NoModifier, point);
}

void MoveTo(QWidget& window, QPoint point) {
    const QPoint global = window.mapToGlobal(point);
    if (QCursor::pos() == global) {
        // The platform reports no move to where the cursor already is (an
        // earlier test may have left it there): tell this window directly.
        QMouseEvent move(QEvent::MouseMove, QPointF(point), QPointF(global), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
        return;
    }
    QTest::mouseMove(&window, point);
}

void PrintTo(const DialogEnding& ending, std::ostream* os) {
    *os << ending.name;
}

void EndDialog(SkinnedDialog& dialog, QWidget& keyTarget, const DialogEnding& ending) {
    if (ending.command != 0) {
        ClickOn(dialog, ending.command);
    } else {
        QTest::keyClick(&keyTarget, static_cast<Qt::Key>(ending.key));
    }
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
