// The cells of a pane's rows: made for each row's kind, showing its value,
// and writing the value back when the user changes a control.
#pragma once

#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSSpecifier.h>

namespace PS::rows {

// A new cell for the row, autoreleased: the row's "cellClass" when that is a
// PSTableCell subclass, else PSTableCell, made with
// initWithStyle:reuseIdentifier:specifier: and dressed for the row's kind.
id makeCell(id pane, Specifier* row);
// Reads the row's value through the pane and shows it in the cell.
void showValue(id pane, id cell);
// The pane whose table holds the cell, or nil.
id paneOfCell(id cell);

// Adds the actions of the cells' controls to PSTableCell.
void addCellMethods(objc::ClassBuilder& builder);

}  // namespace PS::rows
