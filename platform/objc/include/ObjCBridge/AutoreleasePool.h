// Autorelease pools. Objects sent `autorelease` go to the innermost pool of
// the current thread and are released when it drains. App run loops drain a
// pool each turn; tests open one per test. Autoreleasing with no pool open is
// a programmer mistake and aborts.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <cstddef>

namespace objc {

class AutoreleasePool {
public:
    AutoreleasePool();
    ~AutoreleasePool();
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

    // Releases what was autoreleased into this pool so far; the pool stays open.
    void drain();

private:
    std::size_t mark_;
};

namespace detail {
// Used by the root class's -autorelease.
void addToAutoreleasePool(id object);
std::size_t autoreleasePoolDepth();
std::size_t pendingAutoreleases();
}  // namespace detail

}  // namespace objc
