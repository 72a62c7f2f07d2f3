// The device's logs: text files under "/var/run/hbsim/" in which the
// platform records what a phone would have done outside the app (commands
// run, notifications posted), for tests and the simulator to read back.
#pragma once

#include <string_view>

namespace device {

// Appends one line to the log at a phone path. Line breaks inside the text
// become spaces, and the line goes out in one write to a file opened for
// appending, so lines of several processes never mix. Failures are ignored.
void appendLogLine(std::string_view phonePath, std::string_view text);

}  // namespace device
