// The framework's classes that stand on UIKit, registered after the row
// specifier and in superclass order.
#include <Preferences/PSListController.h>
#include <Preferences/PSViewController.h>

#include "PreferencesInternal.h"

namespace PS::internal {

void registerUIKitClasses() {
    registerViewController();
    registerListController();
}

}  // namespace PS::internal
