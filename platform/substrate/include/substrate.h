// The hooking platform as the libraries it loads see it.
//
// MSHookMessageEx(cls, selector, replacement, &saved) makes `selector` on
// instances of `cls` run `replacement` (a function taking the receiver and
// the selector first, then the method's arguments), and writes into `saved`
// an implementation that does what the class did before, to be called with
// the same receiver, selector and arguments:
// - a method the class defines itself gets its implementation replaced, and
//   `saved` receives the old implementation;
// - a method the class only inherits is added to the class, and `saved`
//   receives an implementation that calls the superclass's implementation as
//   it is at the time of the call, so a hook of the superclass installed
//   later is seen.
// A Nil class, a null selector or a selector that the class does not answer
// changes nothing, and `saved` is left as it was. `saved` may be null when the
// old implementation is not wanted. Hooks stay until the process ends. For a
// class method pass the metaclass (object_getClass(cls)).
#pragma once

#include <objc/runtime.h>

#ifdef __cplusplus
extern "C" {
#endif

void MSHookMessageEx(Class _class, SEL message, IMP hook, IMP* old);

#ifdef __cplusplus
}
#endif
