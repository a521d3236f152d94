#pragma once

#include "platform/HidFailure.h"
#include "platform/UniqueFd.h"

#include <string>

// The advisory lock every program of this family takes on a keyboard for the
// length of one transfer, so that two programs (the configurator and zarnctl)
// never interleave their reports.  A hidraw node carries an flock.  A socket
// file cannot be opened, so cannot carry one: a virtual keyboard is locked by
// binding a name in the abstract socket namespace made from the socket's
// device and inode, which is just as exclusive and goes with its holder.
class TransferLock {
public:
    enum class Kind { DeviceNode, Socket };

    TransferLock(Kind kind, std::string path);
    ~TransferLock();
    TransferLock(const TransferLock&) = delete;
    TransferLock& operator=(const TransferLock&) = delete;

    // Busy while another holder has it.  A lock that cannot be set up at all
    // (a node this user may open but not lock) does not stop the transfer.
    HidFailure acquire();
    void release();
    bool held() const { return held_; }

private:
    HidFailure acquireNode();
    HidFailure acquireSocket();

    Kind kind_;
    std::string path_;
    UniqueFd fd_;
    bool held_ = false;
};
