// The app processes of a device. An app host registers itself at launch under
// its program name ("MobileSMS", "Preferences"), so that "killall NAME" ends
// the processes of that name in this device only. A registration is the file
// "<device>/var/run/hbsim/processes/NAME.PID", which also records what
// identifies the process (its program and its start time), so that a pid
// reused by another program after the app has gone is never signalled.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace device {

// Registers the calling process (or `pid`, which must be running) under
// `name` in the current device. Gives false when no device is set, the name
// is not a plain file name, or the process cannot be identified.
bool registerProcess(const std::string& name);
bool registerProcess(const std::string& name, pid_t pid);

// Removes the registration of `pid` (the calling process by default).
void unregisterProcess(const std::string& name, pid_t pid = 0);

// The registered processes of that name that are still the program that
// registered; every other registration of the name is removed on the way.
std::vector<pid_t> runningProcesses(const std::string& name);

}  // namespace device
