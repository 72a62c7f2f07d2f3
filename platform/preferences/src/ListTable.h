// The grouped table a list controller shows its rows in: sections from the
// group rows, one cell per other row, values read through the controller.
#pragma once

#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSSpecifier.h>

#include <vector>

namespace PS::table {

// The rows as the table shows them, built from `specifiers` at each reload.
struct Section {
    Ref<Specifier> group;  // nil for rows before the first group
    std::vector<Ref<Specifier>> rows;
};
struct Model {
    bool built = false;
    std::vector<Section> sections;
};
// The model of a list controller (kept in its state).
Model& modelOf(id listController);

// Adds the table's data source and delegate methods, the controls' actions,
// loadView and `table` to PSListController.
void addMethods(objc::ClassBuilder& builder);
// Asks the controller for its rows again and places every cell anew (when
// its view is loaded; otherwise the table loads them when it first lays out).
void rebuild(id listController);
// Lets go of the table before the controller goes away: the table and the
// controls in its cells hold the controller without retaining it.
void detach(id listController);

// The row of an index path, or nullptr.
Specifier* rowAt(id listController, id indexPath);
// Shows the row's current value again in its placed cell, without placing
// it anew (a list row after a choice was made on its list).
void refreshRow(id listController, Specifier* row);

}  // namespace PS::table
