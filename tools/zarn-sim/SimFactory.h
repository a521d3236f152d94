#pragma once

#include "tools/zarn-sim/SimMemory.h"
#include "tools/zarn-sim/SimModels.h"

// The memory of a keyboard as it leaves the factory: every slot holds the
// model's factory assignment as a host writing it would have sent it (one
// normal entry per slot, a single code or none), and the lights are dark.
SimMemory factoryMemory(const SimModel& model);
