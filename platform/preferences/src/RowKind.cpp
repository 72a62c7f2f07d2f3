#include "RowKind.h"

namespace PS::rows {

// Lists written for other versions of the framework name types this one
// draws no differently: a segmented row offers its choices the way a list
// row does, and a secure text row is a text row.
Kind kindOf(const Specifier* row) {
    if (row == nullptr) return Kind::Static;
    switch (row->cellType()) {
    case PSLinkCell: return Kind::Link;
    case PSLinkListCell:
    case PSSegmentCell: return Kind::List;
    case PSListItemCell: return Kind::Choice;
    case PSTitleValueCell: return Kind::Value;
    case PSSliderCell: return Kind::Slider;
    case PSSwitchCell: return Kind::Switch;
    case PSEditTextCell:
    case PSSecureEditTextCell: return Kind::Edit;
    case PSButtonCell: return Kind::Button;
    default: return Kind::Static;
    }
}

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::Static: return "static";
    case Kind::Value: return "value";
    case Kind::Link: return "link";
    case Kind::List: return "list";
    case Kind::Choice: return "choice";
    case Kind::Switch: return "switch";
    case Kind::Slider: return "slider";
    case Kind::Edit: return "edit";
    case Kind::Button: return "button";
    }
    return "static";
}

UI::UITableViewCellStyle styleOf(Kind kind) {
    switch (kind) {
    case Kind::Value:
    case Kind::Link:
    case Kind::List: return UI::UITableViewCellStyleValue1;
    default: return UI::UITableViewCellStyleDefault;
    }
}

}  // namespace PS::rows
