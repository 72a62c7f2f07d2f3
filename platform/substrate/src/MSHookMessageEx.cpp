#include <substrate.h>

#include "SuperTrampoline.h"

#include <cstdlib>

// Exported by the runtime without a declaration in its headers: rebuilds the
// dispatch tables of a class and of all its subclasses (a class not messaged
// yet has none and is left alone).
extern "C" void __objc_update_dispatch_table_for_class(Class cls);

namespace {

// Whether the class defines the method itself (an inherited one is found by
// class_getInstanceMethod too).
bool definesItself(Class cls, Method method) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) found = methods[i] == method;
    std::free(methods);
    return found;
}

}  // namespace

extern "C" void MSHookMessageEx(Class cls, SEL selector, IMP hook, IMP* old) {
    if (cls == Nil || selector == nullptr || hook == nullptr) return;
    Method method = class_getInstanceMethod(cls, selector);
    if (method == nullptr) return;

    if (definesItself(cls, method)) {
        // The slot is filled before the hook can run, so a replacement called
        // at once already finds what to fall back on.
        if (old != nullptr) *old = method_getImplementation(method);
        method_setImplementation(method, hook);
        // The runtime writes the new implementation into the dispatch table
        // of the class alone: a subclass that was messaged before keeps the
        // old one in its own table until the tables are made again.
        __objc_update_dispatch_table_for_class(cls);
        return;
    }

    const char* types = method_getTypeEncoding(method);
    IMP forwarder = substrate::detail::superForwarder(cls, substrate::detail::returnsInMemory(types));
    if (old != nullptr) *old = forwarder;
    class_addMethod(cls, selector, hook, types);
}
