#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/Ref.h>

#include <pthread.h>

#include <vector>

namespace objc {

namespace {

// The objects awaiting release on a thread, made on its first use and freed
// when the thread ends. Only plain pointers and counts are thread-local, in
// the initial-exec model (this library is loaded with the program): every
// autorelease and every drain reach them with a load relative to the thread
// pointer, and no thread-local object needs a constructor guard.
__thread std::vector<id>* threadPending __attribute__((tls_model("initial-exec"))) = nullptr;
__thread std::size_t depth __attribute__((tls_model("initial-exec"))) = 0;

std::vector<id>& makePending() {
    static const pthread_key_t key = [] {
        pthread_key_t k;
        auto freePending = [](void* list) {
            threadPending = nullptr;
            delete static_cast<std::vector<id>*>(list);
        };
        if (::pthread_key_create(&k, freePending) != 0) fatal("no thread key for the autorelease pools");
        return k;
    }();
    auto* list = new std::vector<id>;
    ::pthread_setspecific(key, list);
    threadPending = list;
    return *list;
}

std::vector<id>& pendingList() { return threadPending != nullptr ? *threadPending : makePending(); }

}  // namespace

AutoreleasePool::AutoreleasePool() : mark_(pendingList().size()) { ++depth; }

AutoreleasePool::~AutoreleasePool() {
    drain();
    --depth;
}

void AutoreleasePool::drain() {
    // Releasing an object may autorelease others (a dealloc that lets go of
    // its fields through autorelease); they belong to this pool too.
    std::vector<id>& pending = pendingList();
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
    pendingList().push_back(object);
}

std::size_t autoreleasePoolDepth() { return depth; }
std::size_t pendingAutoreleases() { return pendingList().size(); }

}  // namespace detail
}  // namespace objc
