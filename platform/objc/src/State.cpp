#include <ObjCBridge/State.h>

#include "PerThread.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace objc {

namespace {

struct StateEntry {
    std::ptrdiff_t offset;
    detail::StateHook construct;
    detail::StateHook destroy;
};

using Chain = std::vector<StateEntry>;

struct Registry {
    std::mutex lock;
    // States attached by the builder, per class.
    std::unordered_map<Class, StateEntry> own;
    // Flattened chains (root first), computed once per class on first alloc.
    std::unordered_map<Class, const Chain*> chains;
    // Chains made stale by a later registration. They are kept, never freed,
    // because another thread's cache may still point at one; registrations
    // happen once per class with a state, so they stay few.
    std::vector<const Chain*> retired;
    // Bumped by every registration; a cached chain of an older generation is
    // looked up again.
    std::atomic<std::uint64_t> generation{1};
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: objects may outlive static destruction
    return *r;
}

const Chain& chainUnderLock(Class cls) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto found = r.chains.find(cls);
    if (found != r.chains.end()) return *found->second;
    auto* chain = new Chain;
    for (Class c = cls; c != Nil; c = class_getSuperclass(c)) {
        auto own = r.own.find(c);
        if (own != r.own.end()) chain->insert(chain->begin(), own->second);
    }
    r.chains.emplace(cls, chain);
    return *chain;
}

// Every alloc and dealloc asks for its class's chain, so each thread keeps
// the chains it used last in a small table indexed by the class pointer,
// which spares it the registry's lock and hash table on almost every call.
struct CachedChain {
    Class cls = Nil;
    std::uint64_t generation = 0;
    const Chain* chain = nullptr;
};
struct ChainCache {
    static constexpr std::size_t kSize = 64;
    CachedChain slots[kSize];
};

const Chain& chainFor(Class cls) {
    std::uint64_t generation = registry().generation.load(std::memory_order_acquire);
    ChainCache& cache = detail::PerThread<ChainCache>::get();
    CachedChain& slot = cache.slots[(reinterpret_cast<std::uintptr_t>(cls) >> 4) % ChainCache::kSize];
    if (slot.cls == cls && slot.generation == generation) return *slot.chain;
    const Chain& chain = chainUnderLock(cls);
    // The generation read before the lookup: a registration in between makes
    // the next call look up again, never trust a stale chain.
    slot = CachedChain{cls, generation, &chain};
    return chain;
}

}  // namespace

namespace detail {
void registerState(Class cls, std::ptrdiff_t offset, StateHook construct, StateHook destroy) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.own[cls] = StateEntry{offset, construct, destroy};
    for (auto& [c, chain] : r.chains) r.retired.push_back(chain);
    r.chains.clear();
    r.generation.fetch_add(1, std::memory_order_acq_rel);
}
}  // namespace detail

void constructStates(id object) {
    char* base = reinterpret_cast<char*>(object);
    for (const StateEntry& e : chainFor(object_getClass(object))) e.construct(base + e.offset);
}

void destroyStates(id object) {
    char* base = reinterpret_cast<char*>(object);
    const auto& chain = chainFor(object_getClass(object));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) it->destroy(base + it->offset);
}

}  // namespace objc
