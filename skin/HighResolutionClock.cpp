#include "skin/HighResolutionClock.h"

#include "platform/Clock.h"

std::int64_t HighResolutionClock::millisecondsSince(std::int64_t earlier) const {
    const std::int64_t perSecond = frequency();
    return perSecond > 0 ? (counter() - earlier) * 1000 / perSecond : 0;
}

std::int64_t SystemClock::counter() const {
    std::int64_t count = 0;
    QueryPerformanceCounter(&count);
    return count;
}

std::int64_t SystemClock::frequency() const {
    std::int64_t perSecond = 0;
    QueryPerformanceFrequency(&perSecond);
    return perSecond;
}
