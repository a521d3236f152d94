#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace {

using CounterClock = std::chrono::steady_clock;

} // namespace

void Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool QueryPerformanceCounter(std::int64_t* count) {
    if (count == nullptr) {
        return false;
    }
    *count =
        std::chrono::duration_cast<std::chrono::nanoseconds>(CounterClock::now().time_since_epoch()).count();
    return true;
}

bool QueryPerformanceFrequency(std::int64_t* frequency) {
    if (frequency == nullptr) {
        return false;
    }
    *frequency = std::chrono::nanoseconds::period::den;
    return true;
}
