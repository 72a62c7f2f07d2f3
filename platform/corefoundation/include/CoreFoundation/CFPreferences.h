// Preferences by application id. Each id is a domain whose values live in
// "/var/mobile/Library/Preferences/<id>.plist" of the device. Values set in a
// process are seen by that process at once and reach the file when the
// domain is synchronised; synchronising also takes in what other processes
// wrote. An id that is empty, or contains "/" or "..", names no domain: its
// values are neither kept nor read.
#pragma once

#include <CoreFoundation/CFBase.h>

extern "C" {

// Sets (a copy of) the value, or removes the key when value is NULL.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);

// The value under the key, retained for the caller (+1: CFRelease it), or
// NULL.
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);

// Writes the changes made in this process since the last synchronisation
// into the domain's file, merged into what is on disk now, atomically; then
// reads the file back. False when the file could not be written (the
// changes are then kept for the next try) or the id names no domain.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);

}  // extern "C"
