#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks of the program.
struct StartOptions {
    bool simulate = false;
    std::string simulatedModel; // empty: the simulator's default model
    std::optional<float> scale; // --scale, else ZARN_SCALE
    bool help = false;
    bool version = false;
    std::string error; // non-empty: the command line is not understood
};

// `arguments` without the program name; `scaleVariable` the value of
// ZARN_SCALE or null.  --scale wins over the variable.
StartOptions ParseStartOptions(const std::vector<std::string>& arguments, const char* scaleVariable);

const char* UsageText();
