#pragma once

#include <atomic>
#include <functional>
#include <thread>

// The one thread that may use the keyboard besides the user-interface
// thread.  A dialog that is closed leaves its job running; the next device
// operation waits for it, so two jobs never share the device.
class DeviceWorker {
public:
    DeviceWorker() = default;
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Runs `job` on the worker thread after the previous job has finished.
    void start(std::function<void()> job);
    bool busy() const { return busy_.load(); }
    // Returns once no job runs; paints and posted messages go on meanwhile,
    // clicks and keys wait.
    void waitIdle();

private:
    std::thread thread_;
    std::atomic<bool> busy_{false};
};
