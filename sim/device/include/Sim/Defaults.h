// Preferences domains of a device, read and written in the manner of the
// `defaults` command: the domain D is the property list
// "/var/mobile/Library/Preferences/D.plist" of the current device
// (device::root()). Values are typed: -bool, -int, -float or -string (the
// default). Writes go through Foundation's atomic property-list write.
#pragma once

#include <Foundation/NSDictionary.h>

#include <optional>
#include <string>
#include <string_view>

namespace sim::defaults {

enum class ValueType { String, Bool, Int, Float };

// "-bool"/"-boolean", "-int"/"-integer", "-float", "-string" (also with two
// dashes); nothing for any other text.
std::optional<ValueType> parseTypeFlag(std::string_view flag);

// A name the preferences folder can hold: not empty, no "/", no "..".
bool isValidDomain(std::string_view domain);
// Throws UserError for a domain isValidDomain refuses.
void requireValidDomain(std::string_view domain);

std::string phonePath(std::string_view domain);

// The value as the type reads it, autoreleased; throws UserError saying what
// the type expects. Booleans: true/false/yes/no/1/0 in any case; integers:
// decimal, optionally signed, within 64 bits; floats: a finite decimal number.
NS::Object* makeValue(ValueType type, std::string_view text);

// The whole domain (autoreleased), or nil when its file is missing or is not a
// dictionary.
NS::Dictionary* readDomain(std::string_view domain);

// Sets one key, keeping the others; creates the domain when missing. Throws
// UserError when the file cannot be written.
void writeValue(std::string_view domain, std::string_view key, const NS::Object* value);
// Writes several keys at once.
void writeValues(std::string_view domain, const NS::Dictionary* values);

// False when the key (or the domain) does not exist.
bool deleteKey(std::string_view domain, std::string_view key);
bool deleteDomain(std::string_view domain);

// A value in the text form `defaults read` prints: dictionaries as
// { key = value; }, arrays as ( a, b ), strings quoted where they hold more
// than letters, digits, "." and "_", Booleans as 1 and 0, reals in their
// shortest exact form. `topLevel` strings print bare, as `defaults read
// DOMAIN KEY` shows them.
std::string format(const NS::Object* value, bool topLevel = false);

}  // namespace sim::defaults
