#pragma once

// What zarnctl tells its caller; scripts depend on these numbers.
enum ExitStatus : int {
    kExitDone = 0,
    kExitDeviceFailed = 1,
    kExitDifferent = 1, // diff: the layouts differ
    kExitUsage = 2,
    kExitNoKeyboard = 3,
    kExitRefused = 4, // a profile that cannot be read or belongs to another model, or a firmware refused
};
