// The send cache's slow path, and the runtime functions that change what a
// message runs, defined here so that every caller reaches them through this
// library: each calls the runtime's own function and then bumps the
// dispatch epoch. The bump comes after the change, so a send that looked an
// implementation up while the change was under way is looked up again.
#include <ObjCBridge/Runtime.h>
#include <ObjCBridge/SendCache.h>

#include <dlfcn.h>
#include <objc/message.h>
#include <pthread.h>

#include <cstdlib>

extern "C" {
// Exported by the runtime without a declaration in its headers: rebuilds the
// dispatch tables of a class and its subclasses; and the entry that loads a
// compiled module (its classes and categories).
void __objc_update_dispatch_table_for_class(Class cls);
void __objc_exec_class(void* module);
}

namespace objc::detail {

std::atomic<std::uint64_t> dispatchEpoch{1};
__thread SendCache* threadSendCache __attribute__((tls_model("initial-exec"))) = nullptr;

namespace {

void dispatchChanged() { dispatchEpoch.fetch_add(1, std::memory_order_acq_rel); }

// The runtime's own definition of a function that this library replaces.
template <class F>
F runtimeFunction(const char* name) {
    static void* runtime = ::dlopen("libobjc.so.4", RTLD_NOW | RTLD_NOLOAD);
    void* f = runtime ? ::dlsym(runtime, name) : nullptr;
    if (f == nullptr) fatal("the runtime function %s cannot be found", name);
    return reinterpret_cast<F>(f);
}

const char* const kReplacedFunctions[] = {
    "class_addMethod",
    "class_replaceMethod",
    "method_setImplementation",
    "method_exchangeImplementations",
    "objc_registerClassPair",
    "objc_disposeClassPair",
    "__objc_update_dispatch_table_for_class",
    "__objc_exec_class",
};

void markerOfThisLibrary() {}

// Whether every caller that names one of the replaced functions reaches this
// library's definition (it is loaded before the runtime).
bool replacementsInPlace() {
    Dl_info self{};
    if (::dladdr(reinterpret_cast<void*>(&markerOfThisLibrary), &self) == 0) return false;
    for (const char* name : kReplacedFunctions) {
        Dl_info found{};
        void* f = ::dlsym(RTLD_DEFAULT, name);
        if (f == nullptr || ::dladdr(f, &found) == 0 || found.dli_fbase != self.dli_fbase) return false;
    }
    return true;
}

bool cacheAllowed() {
    static const bool allowed = [] {
        // HB_SEND_CACHE=0 turns the cache off, to compare or to rule it out.
        const char* setting = std::getenv("HB_SEND_CACHE");
        if (setting != nullptr && setting[0] == '0') return false;
        return replacementsInPlace();
    }();
    return allowed;
}

pthread_key_t cacheKey() {
    // Frees a thread's table when the thread ends. A send made later in the
    // thread's end (by another key's destructor) makes a new table, which the
    // next round of destructors frees.
    static const pthread_key_t key = [] {
        pthread_key_t k;
        auto freeTable = [](void* table) {
            threadSendCache = nullptr;
            std::free(table);
        };
        if (::pthread_key_create(&k, freeTable) != 0) fatal("no thread key for the send cache");
        return k;
    }();
    return key;
}

}  // namespace

bool sendCacheActive() { return cacheAllowed(); }

IMP lookUpAndCache(id receiver, SEL selector) {
    // The epoch before the lookup: a change during it leaves the entry under
    // an older epoch, which the next send does not trust.
    std::uint64_t epoch = dispatchEpoch.load(std::memory_order_acquire);
    IMP imp = objc_msg_lookup(receiver, selector);
    if (!cacheAllowed()) return imp;
    SendCache* cache = threadSendCache;
    if (cache == nullptr) {
        cache = static_cast<SendCache*>(std::calloc(1, sizeof(SendCache)));
        if (cache == nullptr) return imp;
        ::pthread_setspecific(cacheKey(), cache);
        threadSendCache = cache;
    }
    if (cache->epoch != epoch) {
        for (SendCacheEntry& e : cache->entries) e = SendCacheEntry{Nil, nullptr, nullptr};
        cache->epoch = epoch;
    }
    Class cls = receiver->class_pointer;
    cache->entries[sendCacheIndex(cls, selector)] = SendCacheEntry{cls, selector, imp};
    return imp;
}

}  // namespace objc::detail

using objc::detail::runtimeFunction;

extern "C" {

BOOL class_addMethod(Class cls, SEL selector, IMP imp, const char* types) {
    static const auto real = runtimeFunction<BOOL (*)(Class, SEL, IMP, const char*)>("class_addMethod");
    BOOL added = real(cls, selector, imp, types);
    objc::detail::dispatchChanged();
    return added;
}

IMP class_replaceMethod(Class cls, SEL selector, IMP imp, const char* types) {
    static const auto real = runtimeFunction<IMP (*)(Class, SEL, IMP, const char*)>("class_replaceMethod");
    IMP old = real(cls, selector, imp, types);
    objc::detail::dispatchChanged();
    return old;
}

IMP method_setImplementation(Method method, IMP imp) {
    static const auto real = runtimeFunction<IMP (*)(Method, IMP)>("method_setImplementation");
    IMP old = real(method, imp);
    objc::detail::dispatchChanged();
    return old;
}

void method_exchangeImplementations(Method a, Method b) {
    static const auto real = runtimeFunction<void (*)(Method, Method)>("method_exchangeImplementations");
    real(a, b);
    objc::detail::dispatchChanged();
}

void objc_registerClassPair(Class cls) {
    static const auto real = runtimeFunction<void (*)(Class)>("objc_registerClassPair");
    real(cls);
    objc::detail::dispatchChanged();
}

void objc_disposeClassPair(Class cls) {
    // A class made later may be given the memory of this one: no entry of
    // this one may survive.
    static const auto real = runtimeFunction<void (*)(Class)>("objc_disposeClassPair");
    real(cls);
    objc::detail::dispatchChanged();
}

void __objc_update_dispatch_table_for_class(Class cls) {
    static const auto real = runtimeFunction<void (*)(Class)>("__objc_update_dispatch_table_for_class");
    real(cls);
    objc::detail::dispatchChanged();
}

void __objc_exec_class(void* module) {
    static const auto real = runtimeFunction<void (*)(void*)>("__objc_exec_class");
    real(module);
    objc::detail::dispatchChanged();
}

}  // extern "C"
