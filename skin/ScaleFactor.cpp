#include "skin/ScaleFactor.h"

#include <array>

namespace {
constexpr std::array<float, 8> kSteps = {1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f, 4.5f, 5.0f};
}

float ComputeScaleFactor(int screenHeight) {
    const float ratio = static_cast<float>(screenHeight) / 1080.0f;
    if (ratio < 1.0f) {
        return 1.0f;
    }
    for (float step : kSteps) {
        if (step >= ratio) {
            return step;
        }
    }
    return ratio;
}

int Scaled(int value, float scale) {
    return static_cast<int>(static_cast<float>(value) * scale);
}

int Unscaled(int value, float scale) {
    return scale > 0.0f ? static_cast<int>(static_cast<float>(value) / scale) : value;
}
