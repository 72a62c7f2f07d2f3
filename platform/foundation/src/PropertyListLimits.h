// Structural checks made on a property list's bytes before libplist parses
// them. libplist builds and frees its trees recursively and expands every
// shared reference of a binary file, so a deeply nested or exponentially
// shared file would overflow its stack or never finish; these checks refuse
// such files first, without recursion.
#pragma once

#include <cstddef>

namespace NS::plistlimits {

// A binary property list ("bplist00"): the trailer and offset table are in
// bounds, every container's references are in bounds and name existing
// objects, there is no cycle, the nesting below the top object is at most
// `maxDepth` containers and the tree it expands to has at most `maxValues`
// values.
bool binaryWithinLimits(const unsigned char* data, std::size_t length, int maxDepth, std::size_t maxValues);

// An XML property list: elements nest at most `maxDepth` deep below the
// <plist> element and there are at most `maxValues` elements. Comments,
// CDATA sections, processing instructions and the document type are skipped
// as XML defines them; an unterminated one fails the check.
bool xmlWithinLimits(const char* data, std::size_t length, int maxDepth, std::size_t maxValues);

}  // namespace NS::plistlimits
