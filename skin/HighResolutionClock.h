#pragma once

#include <chrono>
#include <cstdint>

// The high-resolution counter recorded delays are measured with.  The program
// reads the platform's; tests move a ManualClock by hand.
class HighResolutionClock {
public:
    virtual ~HighResolutionClock() = default;

    virtual std::int64_t counter() const = 0;
    // Counts per second; constant for the run.
    virtual std::int64_t frequency() const = 0;

    // Whole milliseconds from an earlier counter value to now.
    std::int64_t millisecondsSince(std::int64_t earlier) const;
};

// QueryPerformanceCounter and QueryPerformanceFrequency of the platform layer.
class SystemClock final : public HighResolutionClock {
public:
    std::int64_t counter() const override;
    std::int64_t frequency() const override;
};

// Stands still until a test advances it.  It starts past 0, because a stored
// time of 0 means "no time yet" to the recorder.
class ManualClock final : public HighResolutionClock {
public:
    static constexpr std::int64_t kFrequency = 1'000'000;

    std::int64_t counter() const override { return now_; }
    std::int64_t frequency() const override { return kFrequency; }
    void advance(std::chrono::microseconds by) { now_ += by.count(); }

private:
    std::int64_t now_ = kFrequency;
};
