// The framework's classes that stand on UIKit, registered after the row
// specifier and in superclass order.
#include <Preferences/PSListController.h>
#include <Preferences/PSViewController.h>
#ifdef HB_PREFERENCES_WITH_TABLE_CELL
#include <Preferences/PSTableCell.h>
#endif

#include "PreferencesInternal.h"

namespace PS::internal {

void registerUIKitClasses() {
    registerViewController();
    registerListController();
#ifdef HB_PREFERENCES_WITH_TABLE_CELL
    registerTableCell();
#endif
}

}  // namespace PS::internal
