#include "ListTable.h"

namespace PS::table {

// The table itself stands on UIKit's table view; until the controller's view
// is loaded there are no cells to place.
void addMethods(objc::ClassBuilder&) {}

void rebuild(id listController) {
    if (listController == nil || !objc::send<BOOL>(listController, "isViewLoaded"_sel)) return;
}

}  // namespace PS::table
