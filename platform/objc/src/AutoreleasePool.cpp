#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/Ref.h>

#include <vector>

namespace objc {

namespace {
thread_local std::vector<id> pending;
thread_local std::size_t depth = 0;
}  // namespace

AutoreleasePool::AutoreleasePool() : mark_(pending.size()) { ++depth; }

AutoreleasePool::~AutoreleasePool() {
    drain();
    --depth;
}

void AutoreleasePool::drain() {
    // Releasing an object may autorelease others (a dealloc that lets go of
    // its fields through autorelease); they belong to this pool too.
    while (pending.size() > mark_) {
        id object = pending.back();
        pending.pop_back();
        release(object);
    }
}

namespace detail {

void addToAutoreleasePool(id object) {
    if (depth == 0) {
        fatal("autorelease of a %s with no autorelease pool in place", object_getClassName(object));
    }
    pending.push_back(object);
}

std::size_t autoreleasePoolDepth() { return depth; }
std::size_t pendingAutoreleases() { return pending.size(); }

}  // namespace detail
}  // namespace objc
