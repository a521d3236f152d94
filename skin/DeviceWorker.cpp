#include "skin/DeviceWorker.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>

DeviceWorker::~DeviceWorker() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DeviceWorker::start(std::function<void()> job) {
    waitIdle();
    if (thread_.joinable()) {
        thread_.join();
    }
    busy_ = true;
    thread_ = std::thread([this, job = std::move(job)] {
        job();
        busy_ = false;
    });
}

void DeviceWorker::waitIdle() {
    while (busy_.load()) {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}
