// Reading specifier lists: the property list resources in which a settings
// bundle describes its panes. A list is a dictionary whose "items" array
// holds one dictionary per row; everything else in it ("title", comments the
// editor left, keys of other tools) is ignored, and so is every row that is
// not a dictionary. Lists are read the way the phone reads them: a missing
// or corrupt file, or one without "items", gives an empty list, never a
// failure.
#pragma once

#include <Preferences/PSSpecifier.h>

#include <string>

namespace PS {

// One row built from its dictionary (also used for the entries with which
// the Settings app lists the installed bundles). Button rows ("action") and
// rows with "get"/"set" send to `target`. Autoreleased.
Specifier* specifierFromDictionary(const NS::Dictionary* item, id target);

// The rows of a list already read, in their order. Autoreleased, never nil.
NS::Array* specifiersFromPropertyList(const NS::Object* plist, id target);

// The rows of the list file at a path of the host file system (a loaded
// bundle knows its own folder as a host path). Autoreleased, never nil.
NS::Array* specifiersFromHostFile(const std::string& hostPath, id target);

}  // namespace PS
