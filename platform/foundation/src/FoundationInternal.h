// What the Foundation classes know of each other: the per-class register
// functions (called in order from FoundationClasses.cpp) and direct access to
// the state of the value classes for the library's own fast paths. Nothing
// here is part of the public interface.
#pragma once

#include <Foundation/NSObject.h>

#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace NS::internal {

// Registers every Foundation class, once; the library's load-time
// constructor calls it, and so does anything that may run before it.
void registerAll();

void registerString();
void registerNumber();
void registerNull();
void registerArray();
void registerDictionary();
void registerData();
void registerDate();
void registerScanner();
void registerFileManager();
void registerURL();
void registerPropertyListMethods();
void registerObjectDescription();

// The classes, once registered.
extern Class stringClass;
extern Class mutableStringClass;
extern Class numberClass;
extern Class arrayClass;
extern Class mutableArrayClass;
extern Class dictionaryClass;
extern Class mutableDictionaryClass;
extern Class dataClass;
extern Class dateClass;

// Strings.
bool isPlainString(id object);  // an NSString or NSMutableString, not a subclass of ours
bool isString(id object);       // any kind of NSString
const std::u16string& stringText(id string);
std::uint64_t stringHash(id string);
// New strings at +1.
id newString(std::u16string text);
id newStringFromUTF8Lossy(std::string_view utf8);
// Autoreleased; nil for invalid UTF-8.
id stringFromUTF8(std::string_view utf8);
std::string utf8Of(id string);
// printf formatting with %@; lossy for bytes of %s that are not UTF-8.
std::string formatUTF8(id format, va_list args);

// Numbers.
enum class NumberKind : unsigned char { Boolean, Integer, Real };
bool isNumber(id object);
NumberKind numberKind(id number);
long long numberInteger(id number);
double numberReal(id number);
id newNumber(NumberKind kind, long long integer, double real);

// Collections.
bool isArray(id object);
bool isDictionary(id object);
const std::vector<id>& arrayItems(id array);
// New collections at +1, taking the references of `items` / `keys` and
// `values` over (no retain).
id newArrayAdopting(Class cls, std::vector<id> items);
id newDictionaryAdopting(Class cls, std::vector<id> keys, std::vector<id> values);
// Moves every entry of `from` (left empty) into the empty `to`, keeping
// order: for a dictionary that only this library holds.
void moveDictionaryEntries(id from, id to);
// Entries in insertion order.
void dictionaryEntries(id dictionary, std::vector<id>& keys, std::vector<id>& values);

// The host path of a phone path given as a string; nothing when the path
// is not a string or the device refuses it.
std::optional<std::string> hostPathOf(id phonePath);

// Data and dates.
bool isData(id object);
const std::vector<unsigned char>& dataBytes(id data);
id newData(std::vector<unsigned char> bytes);
bool isDate(id object);
double dateSinceReferenceDate(id date);
id newDate(double sinceReferenceDate);

// A description as used by %@ and the collections' descriptions.
std::string describe(id object);
// The description of an object nested `indent` levels deep in a collection.
std::string describeNested(id object, int indent);

}  // namespace NS::internal
