// Runs an app program of the simulator (MobileSMS, Preferences) as a child
// process in a device: HB_DEVICE names the device folder, standard input,
// output and error are the caller's, and the caller waits for it to end.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// The app's exit status, or 128 + the signal number when a signal ended it
// (as a shell reports it; `killall -9 MobileSMS` gives 137). While it runs,
// SIGINT, SIGTERM and SIGHUP sent to the caller are passed on to the app.
// Throws UserError when the program is missing or cannot be started.
int runApp(const std::filesystem::path& program, const std::vector<std::string>& arguments,
           const std::filesystem::path& device);

// Starts the app and returns at once with its process id (its standard output
// thrown away when `quiet`); waitForApp gives its status as runApp does.
pid_t startApp(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::filesystem::path& device, bool quiet = false);
int waitForApp(pid_t child);

}  // namespace sim
