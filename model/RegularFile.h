#pragma once

#include <string>
#include <sys/stat.h>

// Opens `path` for reading without ever waiting in the open: a FIFO with no
// writer, or a device, would otherwise block before its type could be seen.
// Only regular files are kept.  Returns the descriptor (blocking reads, close
// on exec) with `info` filled, or -1 with errno set: EISDIR for a folder,
// EINVAL for anything else that is not a regular file.
int OpenRegularFile(const std::string& path, struct stat& info);
