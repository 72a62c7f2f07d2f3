#include <ObjCBridge/State.h>

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

struct Registry {
    std::mutex lock;
    // States attached by the builder, per class.
    std::unordered_map<Class, StateEntry> own;
    // Flattened chains (root first), computed once per class on first alloc.
    std::unordered_map<Class, std::vector<StateEntry>> chains;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: objects may outlive static destruction
    return *r;
}

const std::vector<StateEntry>& chainFor(Class cls) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto found = r.chains.find(cls);
    if (found != r.chains.end()) return found->second;
    std::vector<StateEntry> chain;
    for (Class c = cls; c != Nil; c = class_getSuperclass(c)) {
        auto own = r.own.find(c);
        if (own != r.own.end()) chain.insert(chain.begin(), own->second);
    }
    return r.chains.emplace(cls, std::move(chain)).first->second;
}

}  // namespace

namespace detail {
void registerState(Class cls, std::ptrdiff_t offset, StateHook construct, StateHook destroy) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.own[cls] = StateEntry{offset, construct, destroy};
    r.chains.clear();
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
