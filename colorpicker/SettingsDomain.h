// Which preferences domains a colour row or chooser may use. A domain names
// one file, "/var/mobile/Library/Preferences/<domain>.plist"; a name with a
// path separator or a parent-folder step could reach any file of the phone
// (the hook filter beside the hook library, say), so it names no domain at
// all: nothing is read from it and nothing is written to it.
#pragma once

#include <Foundation/Foundation.h>

namespace colorpicker {

inline bool isUsableSettingsDomain(const NS::String* domain) {
    return domain != nullptr && domain->length() > 0 &&
           domain->rangeOfString("/"_ns).location == static_cast<NSUInteger>(NSNotFound) &&
           domain->rangeOfString(".."_ns).location == static_cast<NSUInteger>(NSNotFound);
}

}  // namespace colorpicker
