// The framework's classes that stand on UIKit, registered after the row
// specifier and in superclass order.
#include <Preferences/PSListController.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PSTableCell.h>
#include <Preferences/PSViewController.h>

#include "PreferencesInternal.h"

namespace PS::internal {

void registerUIKitClasses() {
    registerViewController();
    registerTableCell();
    registerListController();
    registerListItemsController();
}

}  // namespace PS::internal
