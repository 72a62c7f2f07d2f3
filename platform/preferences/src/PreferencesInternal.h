// Registration of the framework's classes (PreferencesClasses.cpp calls
// these in order).
#pragma once

namespace PS::internal {

void registerAll();
// PSViewController, PSTableCell, PSListController and the list-items
// chooser, which need UIKit's classes to exist.
void registerUIKitClasses();

}  // namespace PS::internal
