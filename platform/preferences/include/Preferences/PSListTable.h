// Finding things in a list controller's table, for scripted drivers and
// tests. These helpers only look: a driver acts through the screen, with taps
// at the centres of the cells and controls they find (UI::input::tap), drags
// of slider thumbs (UI::slider::dragToValue) and typing into text fields.
//
// The kinds of rows, by the names scripts use:
//
//   "link"    PSLinkCell: a chevron; a tap pushes the row's "detail" pane
//             (alloc/init, setSpecifier: when it answers it, titled with
//             the row's name), animated; a missing class does nothing.
//   "list"    PSLinkListCell (and PSSegmentCell): the title of the current
//             value at the right and a chevron; a tap pushes a
//             PSListItemsController of the row's choices.
//   "choice"  PSListItemCell: one choice of a PSListItemsController.
//   "switch"  PSSwitchCell: a UISwitch; toggling writes an NSNumber Boolean.
//   "slider"  PSSliderCell: a UISlider from "min" to "max" (0 and 1 when
//             absent) across the row; a drag writes an NSNumber real when the
//             finger lifts (at every step with "isContinuous").
//   "edit"    PSEditTextCell and PSSecureEditTextCell: the title and a text
//             field at its right; the text is written as a string when
//             editing ends with a change ("isNumeric" or a "keyboard" only
//             name a keyboard, as on the phone).
//   "button"  PSButtonCell: the title in the tint colour.
//   "static"  PSStaticTextCell (and every type the framework does not know):
//             the title only.
//   "value"   PSTitleValueCell: the title and its value at the right.
//   or the class name of a row's custom "cellClass" cell.
//
// A tap on any row first asks its cell for cellAction and cellTarget: when
// the target answers the action it is sent (with the row as argument when
// the selector takes one). A plain cell answers the row's target and
// buttonAction (a button row's "action"); a colour cell answers its own.
// Otherwise the kind decides, as above. The row deselects after the tap.
#pragma once

#include <Preferences/PSListController.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITextField.h>

#include <string>
#include <vector>

namespace PS::listTable {

// The table of the controller, nil while its view is not loaded.
UI::TableView* tableOf(ListController* pane);
// The placed cells that are the framework's, section by section.
std::vector<TableCell*> cellsOf(ListController* pane);
// The placed cell of the row, or nullptr.
TableCell* cellForSpecifier(ListController* pane, const Specifier* row);
// The first placed cell whose row is named so, or nullptr.
TableCell* cellNamed(ListController* pane, const std::string& name);

// The kind name of the cell's row (see above).
std::string kindOf(TableCell* cell);

// What the cell shows as its value: a switch's state, a slider's value, a
// text field's text, or the text at the right of the row.
struct ShownValue {
    enum class Type { None, Boolean, Number, Text };
    Type type = Type::None;
    bool boolean = false;
    double number = 0;
    std::string text;
};
ShownValue shownValue(TableCell* cell);

// The cell's controls, or nullptr.
UI::Switch* switchOf(TableCell* cell);
UI::Slider* sliderOf(TableCell* cell);
UI::TextField* textFieldOf(TableCell* cell);

// The choices of a list, in order, the current one checked.
struct Choice {
    std::string title;
    bool checked = false;
    TableCell* cell = nullptr;
};
std::vector<Choice> choicesOf(ListItemsController* list);

}  // namespace PS::listTable
