#pragma once

#include "device/ZarnHWIExport.h"
#include "platform/HidFailure.h"
#include "platform/KeyboardCapture.h"
#include "platform/WindowHandle.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

class COrvoUtil;
class COrvo;

// Sizes of the integer arrays that cross the library's interface.
inline constexpr int kLightArrayLength = 309;   // three values per key, keys 1..103
inline constexpr int kCounterArrayLength = 103; // one counter per key
inline constexpr int kKeyConfigArrayLength = 65536;
inline constexpr int kVersionTextLength = 64;

// Everything the program does with the keyboard goes through one object of
// this class.  Every method except the constructor, destructor, __createDev,
// __closeDev, DetectDevice and DetectDeviceType needs an open device and
// fails (false) without one.
class ZARNHWI_API COrvoHWI {
public:
    COrvoHWI();
    ~COrvoHWI();
    COrvoHWI(const COrvoHWI&) = delete;
    COrvoHWI& operator=(const COrvoHWI&) = delete;

    bool __createDev();
    bool __closeDev();
    bool DetectDevice();
    int DetectDeviceType();
    // Why __createDev found no keyboard (NotFound), why the keyboard it found
    // cannot be used (the open failed: permission, busy, gone), or why the
    // last transfer failed; none after one that went through.  The library
    // words nothing: callers tell the user.
    HidFailure lastFailure() const;

    // `text` holds at least 62 wide characters.
    bool ReadKeyboardVersion(wchar_t* text);
    const wchar_t* getHardwareVersion();

    bool prepare();
    // layer 0 or 1, key 1..103; `config` is a KeyConfigArray of `length` integers.
    bool setKeyConfiguration(int layer, int key, const int* config, int length);
    bool getKeyConfiguration(int layer, int key, int* config, int capacity);
    bool writeKeyConfigurationToDev(const WindowHandle& window);
    bool readKeyDefinationFromDev(const WindowHandle& window);

    // 309 integers, red, green, blue of keys 1..103.
    bool setKeyboardLightArea(const int* lights);
    bool getKeyboardLightArea(int* lights);
    bool readKeyLightFromDev();
    // 103 integers.
    bool getPressCounterFromDev(int* counters);

    // `text` is the firmware file's content followed by a zero byte; `size` its length.
    bool WriteFirmwareToKeyboard(const char* text, std::size_t size, const WindowHandle& window);

    // What the last read of the key table, the colours and the counters
    // brought, whether or not it ended well: keys (of 206) and bytes (of 309
    // and 412).  A keyboard sends no entry for an empty key; the areas come
    // whole from a keyboard that is well.
    int receivedKeyCount() const;
    int receivedLightBytes() const;
    int receivedCounterBytes() const;

    // From any thread: the read of keys, colours or counters running now
    // stops before its next report and fails, and so does every later one
    // until allowTransfers().  Writes and the firmware download run on: a
    // keyboard left with part of a table or an image is worse off than one
    // that got all of it.
    void cancelTransfers() { cancelled_ = true; }
    void allowTransfers() { cancelled_ = false; }
    bool transfersCancelled() const { return cancelled_; }

private:
    std::unique_ptr<COrvoUtil> transport_;
    std::unique_ptr<COrvo> mirror_;
    wchar_t versionText_[kVersionTextLength] = {};
    std::atomic<bool> cancelled_{false};
};

// What InstallHook achieved: the source the keys come from, or none, with
// why each source it tried could not start.
struct HookStatus {
    CaptureSource source = CaptureSource::None;
    std::vector<CaptureFailure> failures;

    bool installed() const { return source != CaptureSource::None; }
};

// The keyboard hook.  While installed, every keystroke of the session
// reaches `window` as UM_HOOK_KEY and nowhere else; where nothing can grab
// the keyboard, the keys the window itself receives (its key source), which
// it then keeps from its widgets.  A hook that cannot start says so and
// leaves no earlier one running.
ZARNHWI_API HookStatus InstallHook(const WindowHandle& window);
ZARNHWI_API void UninstallHook();
// Called by the capture source for every key event; posts UM_HOOK_KEY and
// returns 1 (the event is swallowed).
ZARNHWI_API long KeyBoardProc(int code, WPARAM message, LPARAM event);
