// The one place where the framework's classes are registered, superclasses
// first; constructors of different files run in no defined order.
#include <Preferences/PSSpecifier.h>

#include "PreferencesInternal.h"

namespace PS::internal {

void registerAll() {
    static const bool registered = [] {
        registerSpecifier();
        registerUIKitClasses();
        return true;
    }();
    (void)registered;
}

}  // namespace PS::internal

__attribute__((constructor)) static void registerPreferencesClasses() { PS::internal::registerAll(); }
