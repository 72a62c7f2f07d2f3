// The C library's `system` as the device has it. Product code calls the
// standard `system` function; this library exports its own, which takes the
// place of the system's for every program and library loaded with it. It
// understands one command,
//
//     killall [-SIGNAL] NAME
//
// (SIGNAL a number or a name such as 9, KILL or SIGKILL; TERM by default),
// which signals the processes registered under NAME in the current device
// (see Processes.h) and never anything else on the machine. Like the real
// function it gives a wait status: exit status 0 when a process was
// signalled, 1 when none was, and 127 for every other command, which is
// never run. Each command is counted, and appended as one line to the device
// log "<device>/var/run/hbsim/system.log".
#pragma once

#include <cstddef>

namespace device {

// How many commands this process has handed to `system` so far.
std::size_t systemCommandCount();

}  // namespace device
