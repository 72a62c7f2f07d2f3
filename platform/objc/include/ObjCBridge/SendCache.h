// The send's implementation cache. Each thread keeps the implementations it
// looked up last in a small table indexed by class and selector, so that a
// repeated send costs a few loads instead of the runtime's walk through its
// dispatch tables. Every change the runtime can make to what a message runs
// (a method added, replaced or exchanged, a class registered or disposed, a
// dispatch table rebuilt) goes through this library first and bumps the
// dispatch epoch; a table filled under an older epoch is emptied before it
// is used again, so a hook installed after a send was cached is seen by the
// next send. Where this library cannot see those changes (the runtime's
// functions would not reach it first), no table is ever made and every send
// asks the runtime; HB_SEND_CACHE=0 in the environment does the same.
#pragma once

#include <objc/runtime.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace objc::detail {

struct SendCacheEntry {
    Class cls;
    SEL selector;
    IMP imp;
};

inline constexpr std::size_t kSendCacheSize = 256;

struct SendCache {
    std::uint64_t epoch;
    SendCacheEntry entries[kSendCacheSize];
};

// Bumped after every change of what a message runs.
extern std::atomic<std::uint64_t> dispatchEpoch;

// This thread's table, or null until its first send (and always null where
// the cache is off). Initial-exec: the library is loaded with the program,
// so the access is a single load relative to the thread pointer.
extern __thread SendCache* threadSendCache __attribute__((tls_model("initial-exec")));

// Looks the implementation up in the runtime and records it in this thread's
// table (making or emptying the table first when needed).
IMP lookUpAndCache(id receiver, SEL selector);

// Whether sends use the cache in this process (see above).
bool sendCacheActive();

inline std::size_t sendCacheIndex(Class cls, SEL selector) {
    // Classes and selectors are at least 16-byte aligned runtime records.
    auto c = reinterpret_cast<std::uintptr_t>(cls) >> 4;
    auto s = reinterpret_cast<std::uintptr_t>(selector) >> 4;
    return (c ^ (s * 7)) % kSendCacheSize;
}

// The implementation a message to a non-nil receiver runs.
inline IMP lookUp(id receiver, SEL selector) {
    Class cls = receiver->class_pointer;
    SendCache* cache = threadSendCache;
    if (cache != nullptr && cache->epoch == dispatchEpoch.load(std::memory_order_acquire)) [[likely]] {
        const SendCacheEntry& e = cache->entries[sendCacheIndex(cls, selector)];
        if (e.cls == cls && e.selector == selector) [[likely]]
            return e.imp;
    }
    return lookUpAndCache(receiver, selector);
}

}  // namespace objc::detail
