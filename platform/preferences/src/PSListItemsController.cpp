#include <Preferences/PSListItemsController.h>

#include <Preferences/PSTableCell.h>
#include <UIKit/UIKit.h>

#include "ListTable.h"
#include "RowValues.h"

namespace PS {
namespace {

struct ItemsState {
    Ref<Specifier> row;
    Ref<ListController> parent;
};

ItemsState& stateOf(id self) { return objc::state<ItemsState>(self); }

Specifier* specifier(id self, SEL) { return stateOf(self).row; }
void setSpecifier(id self, SEL, Specifier* row) {
    stateOf(self).row = row;
    // The choices are those of the new row.
    id& rows = ListController::specifiersIvar(self);
    objc::release(rows);
    rows = nil;
}
ListController* parentController(id self, SEL) { return stateOf(self).parent; }
void setParentController(id self, SEL, ListController* pane) { stateOf(self).parent = pane; }

// Values go through the pane the row belongs to.
id owner(id self) {
    ListController* parent = stateOf(self).parent;
    return parent != nullptr ? objc::asId(parent) : self;
}

// One choice row per title, in the list's order, each holding its value
// under "value". A list with fewer titles than values names the rest by
// their values.
NS::Array* specifiers(id self, SEL) {
    id& kept = ListController::specifiersIvar(self);
    if (kept != nil) return objc::cast<NS::Array>(kept);
    NS::MutableArray* rows = NS::MutableArray::array();
    rows->addObject(Specifier::preferenceSpecifierNamed(nullptr, self, PSGroupCell));
    Specifier* row = stateOf(self).row;
    NS::Array* values = row != nullptr ? row->values() : nullptr;
    NS::Array* titles = row != nullptr ? row->titles() : nullptr;
    for (NSUInteger i = 0, n = values != nullptr ? values->count() : 0; i < n; ++i) {
        id value = values->objectAtIndex(i);
        NS::String* title = titles != nullptr && i < titles->count() ? rows::textOf(titles->objectAtIndex(i)) : nullptr;
        if (title == nullptr) title = rows::textOf(value);
        Specifier* choice = Specifier::preferenceSpecifierNamed(title != nullptr ? title : ""_ns, self, PSListItemCell);
        choice->setProperty(value, "value"_ns);
        rows->addObject(choice);
    }
    kept = objc::retain(rows);
    return rows;
}

void markCurrent(UI::TableViewCell* cell, id current) {
    if (cell == nullptr) return;
    Specifier* choice = objc::cast<TableCell>(cell)->specifier();
    const bool checked = choice != nullptr && rows::sameChoice(choice->propertyForKey("value"_ns), current);
    cell->setAccessoryType(checked ? UI::UITableViewCellAccessoryCheckmark : UI::UITableViewCellAccessoryNone);
}

id cellForRow(id self, SEL _cmd, id tableView, id indexPath) {
    id cell = objc::sendSuper<id>(self, "PSListItemsController"_cls, _cmd, tableView, indexPath);
    markCurrent(objc::cast<UI::TableViewCell>(cell), rows::readValue(owner(self), stateOf(self).row));
    return cell;
}

void didSelectRow(id self, SEL, UI::TableView* tableView, id indexPath) {
    Ref<NS::Object> keep(objc::cast<NS::Object>(self));
    ItemsState& s = stateOf(self);
    Specifier* choice = table::rowAt(self, indexPath);
    if (choice != nullptr && s.row) {
        Ref<Specifier> row = s.row;
        rows::writeValue(owner(self), row, choice->propertyForKey("value"_ns));
        id current = rows::readValue(owner(self), row);
        for (NSInteger section = 0; section < tableView->numberOfSections(); ++section)
            for (NSInteger r = 0; r < tableView->numberOfRowsInSection(section); ++r)
                markCurrent(tableView->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, section)), current);
        if (s.parent) table::refreshRow(objc::asId(s.parent.get()), row);
    }
    tableView->deselectRowAtIndexPath(objc::cast<NS::IndexPath>(indexPath), YES);
}

}  // namespace

void registerListItemsController() {
    static const bool registered = [] {
        objc::ClassBuilder("PSListItemsController", objc::cls("PSListController"))
            .state<ItemsState>()
            .method("specifier", &specifier)
            .method("setSpecifier:", &setSpecifier)
            .method("parentController", &parentController)
            .method("setParentController:", &setParentController)
            .method("specifiers", &specifiers)
            .method("tableView:cellForRowAtIndexPath:", &cellForRow)
            .method("tableView:didSelectRowAtIndexPath:", &didSelectRow)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
