#pragma once

// The device library is built with hidden visibility; only what carries this
// mark is part of libZarnHWI.so's interface.
#if defined(ZARNHWI_BUILDING)
#define ZARNHWI_API __attribute__((visibility("default")))
#else
#define ZARNHWI_API
#endif
