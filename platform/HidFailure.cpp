#include "platform/HidFailure.h"

#include <cerrno>

HidFailureKind HidFailureKindOf(int error) {
    switch (error) {
    case 0:
        return HidFailureKind::None;
    case EACCES:
    case EPERM:
        return HidFailureKind::PermissionDenied;
    case EBUSY:
        return HidFailureKind::Busy;
    // A node or socket that vanished, a peer that hung up, a device that
    // was unplugged mid-transfer.
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ECONNREFUSED:
    case ECONNRESET:
    case ENOTCONN:
    case EPIPE:
    case ESHUTDOWN:
        return HidFailureKind::Gone;
    case ETIMEDOUT:
    case EINPROGRESS:
        return HidFailureKind::NoAnswer;
    default:
        return HidFailureKind::SystemError;
    }
}
