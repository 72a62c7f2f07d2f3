// Core Foundation's base types. The CF object types are the Foundation
// objects themselves ("toll-free"): a CFStringRef is an NSString pointer, a
// CFDictionaryRef an NSDictionary pointer, so either kind of code can cast
// one into the other, and CFRetain / CFRelease are retain and release.
#pragma once

#include <Foundation/NSString.h>

typedef unsigned char Boolean;
typedef long CFIndex;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;

typedef const void* CFTypeRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;
typedef const struct __CFArray* CFArrayRef;
typedef struct __CFArray* CFMutableArrayRef;
typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;
typedef const struct __CFBoolean* CFBooleanRef;
typedef const struct __CFNumber* CFNumberRef;
typedef const struct __CFData* CFDataRef;
typedef const struct __CFDate* CFDateRef;
typedef CFTypeRef CFPropertyListRef;

extern "C" {

// Retaining or releasing NULL is a programmer mistake and aborts.
CFTypeRef CFRetain(CFTypeRef cf);
void CFRelease(CFTypeRef cf);
// isEqual:, with NULL equal only to NULL.
Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);

}  // extern "C"

// A constant string, made once per use in the source and never released.
#define CFSTR(text)                                                                               \
    ([]() -> CFStringRef {                                                                        \
        static const CFStringRef constant =                                                       \
            reinterpret_cast<CFStringRef>(NS::detail::immortalString("" text, sizeof(text) - 1)); \
        return constant;                                                                          \
    }())
