// The one place where Foundation's classes are registered, in an order that
// puts every superclass before its subclasses. Constructors of different
// files run in no defined order, so no other file of this library has one.
#include <Foundation/NSObject.h>
#include <Foundation/NSRunLoop.h>

#include "FoundationInternal.h"

namespace NS::internal {

void registerAll() {
    static const bool registered = [] {
        registerRootClass();
        registerString();
        registerObjectDescription();
        registerNumber();
        registerNull();
        registerArray();
        registerDictionary();
        registerData();
        registerDate();
        registerPropertyListMethods();
        registerScanner();
        registerFileManager();
        registerURL();
        // The run loop's classes (NSRunLoop, delayed performs on NSObject).
        registerRunLoop();
        return true;
    }();
    (void)registered;
}

}  // namespace NS::internal

// Foundation's classes exist as soon as the library is loaded, as on the
// phone.
__attribute__((constructor)) static void registerFoundationClasses() { NS::internal::registerAll(); }
