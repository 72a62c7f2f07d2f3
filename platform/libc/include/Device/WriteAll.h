// Writing a whole buffer to a file descriptor: a write may take only part of
// it (a pipe that is full, a signal), so the rest is written until all is
// out. For the platform's files and the simulator's pipes alike.
#pragma once

#include <cstddef>

namespace device {

// Writes every byte, going on after short writes and interruptions; false on
// an error (EPIPE when a pipe's reader has gone, with SIGPIPE ignored).
bool writeAll(int fd, const void* bytes, std::size_t length);

}  // namespace device
