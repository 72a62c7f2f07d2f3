// The grouped table a list controller shows its rows in: sections from the
// group rows, one cell per other row, values read through the controller.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

namespace PS::table {

// Adds the table's data source and delegate methods to PSListController.
void addMethods(objc::ClassBuilder& builder);
// Asks the controller for its rows again and places every cell anew (when
// its view is loaded).
void rebuild(id listController);

}  // namespace PS::table
