// Property lists: files (XML or binary, read with libplist) turned into
// Foundation objects and back (always written as XML). For platform code:
// the hooking platform's loader reads filter files, CFPreferences keeps its
// domains, the simulator writes settings into device folders.
//
// Types: dictionaries (string keys), arrays, strings, numbers (<true/> and
// <false/> read as Boolean numbers, <integer> as integers, <real> as reals,
// and each is written back as it was read), data and dates.
//
// Reading never fails loudly: a missing, unreadable, corrupt or oversized
// file, a string that is not valid UTF-8, nesting deeper than
// kMaxPropertyListDepth, more than kMaxPropertyListValues values (counting
// a value reached twice in a binary file twice) or a cycle all read as nil.
#pragma once

#include <Foundation/NSObject.h>

#include <cstddef>
#include <string>
#include <string_view>

// libplist's node handle (the same typedef as in <plist/plist.h>).
typedef void* plist_t;

namespace NS {

inline constexpr int kMaxPropertyListDepth = 256;
inline constexpr std::size_t kMaxPropertyListValues = std::size_t{1} << 20;

// Autoreleased; nil as described above. Containers are immutable.
Object* propertyListFromFile(std::string_view phonePath);
Object* propertyListFromHostFile(const std::string& hostPath);
Object* propertyListFromBytes(const void* bytes, std::size_t length);

// Writes `plist` as an XML property list, atomically (see AtomicFile.h).
// False, with nothing written, when it holds an object a property list
// cannot (a key that is not a string, an NSNull, nesting past the depth
// limit) or the file cannot be written.
bool writePropertyList(const Object* plist, std::string_view phonePath);
bool writePropertyListToHostFile(const Object* plist, const std::string& hostPath, bool atomically = true);

// The XML text of a property list; empty when it cannot be one.
std::string xmlPropertyList(const Object* plist);

// Conversions with libplist nodes. objectFromPlistNode gives an autoreleased
// object or nil; plistNodeFromObject gives a new node for the caller to
// plist_free, or nullptr.
Object* objectFromPlistNode(plist_t node);
plist_t plistNodeFromObject(const Object* object);

}  // namespace NS
