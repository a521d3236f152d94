#pragma once

#include "platform/WindowHandle.h"

#include <optional>
#include <vector>

class COrvoHWI;

// One key on one layer (0 top, 1 Fn).
struct KeyOnLayer {
    int layer = 0;
    int key = 0;
    friend bool operator==(const KeyOnLayer&, const KeyOnLayer&) = default;
};

// A keyboard takes a write without answering, so only reading it back tells
// whether it holds what was sent.  `device` has just written: its table
// holds what it sent.  That is set aside, the device is opened afresh (so
// nothing of the write can pass for the answer) and the keyboard's table is
// read.  The keys whose definitions differ, in key order, or nothing when
// the read failed (`device` then tells why).
std::optional<std::vector<KeyOnLayer>> KeysThatDiffer(COrvoHWI& device, const WindowHandle& progress);

// The same for the colours: the keys whose colour differs, or nothing when
// the read failed.
std::optional<std::vector<int>> LightsThatDiffer(COrvoHWI& device);
