// A mistake of the person running the simulator (no device, nothing built, a
// bad value): the message says what is wrong and what to run, and hbsim
// prints it and exits non-zero. Programmer mistakes still abort.
#pragma once

#include <stdexcept>
#include <string>

namespace sim {

class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace sim
