// Implementations that forward a call to the superclass, whatever the
// method's signature: they leave every argument register and the stack as
// they found them, look the superclass's current implementation up, and jump
// to it.
#pragma once

#include <objc/runtime.h>

namespace substrate::detail {

// An implementation that, sent as a method of `cls` or of a subclass, passes
// the call unchanged to what the superclass of `cls` implements for the
// selector at the moment of the call. With `resultInMemory` the method returns
// a struct through a hidden pointer, so the receiver and the selector arrive
// one argument register later. Fails loudly when the fixed supply of
// forwarders is used up.
IMP superForwarder(Class cls, bool resultInMemory);

// Whether a method of these type encodings returns its result through a
// hidden pointer in the first argument register (a struct or union larger
// than 16 bytes, as the x86-64 calling convention has it).
bool returnsInMemory(const char* types);

}  // namespace substrate::detail
