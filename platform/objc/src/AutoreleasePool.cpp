#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/Ref.h>

#include "PerThread.h"

#include <vector>

namespace objc {

namespace {

// The objects awaiting release on a thread, and how many pools it has open.
struct ThreadPools {
    std::vector<id> pending;
    std::size_t depth = 0;
};
using Pools = detail::PerThread<ThreadPools>;

}  // namespace

AutoreleasePool::AutoreleasePool() {
    ThreadPools& pools = Pools::get();
    mark_ = pools.pending.size();
    ++pools.depth;
}

AutoreleasePool::~AutoreleasePool() {
    drain();
    --Pools::get().depth;
}

void AutoreleasePool::drain() {
    // Releasing an object may autorelease others (a dealloc that lets go of
    // its fields through autorelease); they belong to this pool too.
    std::vector<id>& pending = Pools::get().pending;
    while (pending.size() > mark_) {
        id object = pending.back();
        pending.pop_back();
        release(object);
    }
}

namespace detail {

void addToAutoreleasePool(id object) {
    ThreadPools& pools = Pools::get();
    if (pools.depth == 0) {
        fatal("autorelease of a %s with no autorelease pool in place", object_getClassName(object));
    }
    pools.pending.push_back(object);
}

std::size_t autoreleasePoolDepth() { return Pools::existing() != nullptr ? Pools::existing()->depth : 0; }
std::size_t pendingAutoreleases() { return Pools::existing() != nullptr ? Pools::existing()->pending.size() : 0; }

}  // namespace detail
}  // namespace objc
