// PSListItemsController: the list of choices a list-items row opens
// (PSLinkListCell, "detail" PSListItemsController). It shows one row per
// "validTitles" entry under the row's name, a checkmark on the row's current
// value, and on a tap writes the chosen value the way the pane that opened
// it writes values (its setPreferenceValue:specifier:, or the row's "set"),
// moves the checkmark and shows the new title in that pane's row.
//
// The pane that opens it gives it the row (setSpecifier:) and itself
// (setParentController:), titles it with the row's name and pushes it.
#pragma once

#include <Preferences/PSListController.h>

namespace PS {

class ListItemsController : public ListController {
public:
    static ListItemsController* alloc() {
        return objc::send<ListItemsController*>("PSListItemsController"_cls, "alloc"_sel);
    }
    ListItemsController* init() { return objc::send<ListItemsController*>(this, "init"_sel); }

    // The list-items row whose choices are shown (retained).
    Specifier* specifier() { return objc::send<Specifier*>(this, "specifier"_sel); }
    void setSpecifier(Specifier* row) { objc::send<void>(this, "setSpecifier:"_sel, row); }
    // The pane whose row this is (retained); values are read and written
    // through it. Without one, through this controller.
    ListController* parentController() { return objc::send<ListController*>(this, "parentController"_sel); }
    void setParentController(ListController* pane) { objc::send<void>(this, "setParentController:"_sel, pane); }
};

void registerListItemsController();

}  // namespace PS
