// How Darwin notifications travel between the processes of a device. Each
// process that observes binds one Unix datagram socket,
// "<device>/var/run/hbsim/notify/<pid>.sock", served by its main run loop. A
// post sends the name to every socket of the folder; a socket nobody reads
// any more (its process has ended) refuses the datagram and is removed.
#pragma once

#include <string>

namespace cf::notify {

// Called on the main run loop with each name that reaches this process.
using Receiver = void (*)(const std::string& name);

// Makes sure this process has its socket in the current device and that
// names arriving there go to the receiver. False when no device is set or
// the socket cannot be made.
bool listen(Receiver receiver);

// Logs the post and sends the name to every listening process of the
// current device.
void post(const std::string& name);

// The largest name that travels; longer ones are logged but not sent.
inline constexpr std::size_t kMaxNameLength = 4096;

}  // namespace cf::notify
