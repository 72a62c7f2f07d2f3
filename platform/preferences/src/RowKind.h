// The kinds of rows a pane shows and what their cells keep: the framework's
// cell types folded into the few looks and behaviours the table knows.
#pragma once

#include <Preferences/PSSpecifier.h>
#include <UIKit/UITableViewCell.h>

namespace PS::rows {

enum class Kind {
    Static,  // a title only (also every type the table does not know)
    Value,   // a title and a value at the right
    Link,    // opens its "detail" pane
    List,    // the title of the current value at the right; opens the choices
    Choice,  // one choice of a list, checked when it is the current value
    Switch,
    Slider,
    Edit,
    Button,
};

// The kind a row's cell type gives.
Kind kindOf(const Specifier* row);
// The name scripts and dumps know the kind by ("switch", "link", ...).
const char* kindName(Kind kind);
// The table cell style a kind is laid out in.
UI::UITableViewCellStyle styleOf(Kind kind);

// What the table keeps in each PSTableCell: the kind it was made for (a
// cell made outside a table is Static), the control laid out in its content
// view (a slider or a text field), if any, and the label that shows a
// slider's value at the right ("showValue").
Kind cellKind(id cell);
void setCellKind(id cell, Kind kind);
UI::View* cellControl(id cell);
void setCellControl(id cell, UI::View* control);
UI::Label* cellValueLabel(id cell);
void setCellValueLabel(id cell, UI::Label* label);

}  // namespace PS::rows
