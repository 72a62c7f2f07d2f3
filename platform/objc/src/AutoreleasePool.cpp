#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/Ref.h>

#include <vector>

namespace objc {

namespace {
// Initial-exec: this library is loaded with the program, so reaching the
// pool of the thread is a load relative to the thread pointer, not a call
// (every autorelease and every drain reach it).
thread_local std::vector<id> pending __attribute__((tls_model("initial-exec")));
thread_local std::size_t depth __attribute__((tls_model("initial-exec"))) = 0;
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
