// PSTableCell: the base of every cell of a settings pane, made for one row.
// It keeps the row's specifier in the instance variable `_specifier` and
// answers the framework's questions for what a tap on the row does: the
// row's button action sent to the row's target, unless a subclass answers
// otherwise (a colour cell opens its chooser itself). A list controller's
// table dresses each cell for its row's kind after creating it (a switch as
// the accessory, a slider or a text field right of the title, a chevron);
// subclasses that lay themselves out call the base's layoutSubviews.
#pragma once

#include <Preferences/PSSpecifier.h>
#include <UIKit/UITableViewCell.h>

namespace PS {

class TableCell : public UI::TableViewCell {
public:
    static TableCell* alloc() { return objc::send<TableCell*>("PSTableCell"_cls, "alloc"_sel); }
    TableCell* initWithStyle(NSInteger style, const NS::String* reuseIdentifier, Specifier* specifier) {
        return objc::send<TableCell*>(this, "initWithStyle:reuseIdentifier:specifier:"_sel, style, reuseIdentifier,
                                      specifier);
    }
    SEL action() { return objc::send<SEL>(this, "action"_sel); }
    id target() { return objc::send<id>(this, "target"_sel); }
    SEL cellAction() { return objc::send<SEL>(this, "cellAction"_sel); }
    id cellTarget() { return objc::send<id>(this, "cellTarget"_sel); }

    // The instance variable `_specifier`: the row, retained, or nil.
    static id& specifierIvar(id self);
    Specifier* specifier() { return objc::cast<Specifier>(specifierIvar(objc::asId(this))); }
};

void registerTableCell();

}  // namespace PS
