// UITableViewCell: one row of a table, white, with a content view holding
// its labels and an accessory at the right, vertically centred 15 points
// from the edge. The styles lay the labels out as the phone does: default
// (0) one label; value1 (1) the label at the left and the detail, gray
// #8E8E93, at the right; value2 (2) a small tinted label and the detail
// beside it; subtitle (3) the label over a small detail. A touch highlights
// the cell; lifting over it selects the row in its table.
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIView.h>

namespace UI {

using UITableViewCellStyle = NSInteger;
inline constexpr UITableViewCellStyle UITableViewCellStyleDefault = 0;
inline constexpr UITableViewCellStyle UITableViewCellStyleValue1 = 1;
inline constexpr UITableViewCellStyle UITableViewCellStyleValue2 = 2;
inline constexpr UITableViewCellStyle UITableViewCellStyleSubtitle = 3;

using UITableViewCellAccessoryType = NSInteger;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryNone = 0;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryDisclosureIndicator = 1;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryDetailDisclosureButton = 2;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryCheckmark = 3;

using UITableViewCellSelectionStyle = NSInteger;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleNone = 0;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleBlue = 1;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleGray = 2;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleDefault = 3;

class TableViewCell : public View {
public:
    static TableViewCell* alloc() { return objc::send<TableViewCell*>("UITableViewCell"_cls, "alloc"_sel); }
    TableViewCell* initWithStyle(UITableViewCellStyle style, const NS::String* reuseIdentifier) {
        return objc::send<TableViewCell*>(this, "initWithStyle:reuseIdentifier:"_sel, style, reuseIdentifier);
    }

    UITableViewCellStyle style() const { return objc::send<UITableViewCellStyle>(this, "style"_sel); }
    NS::String* reuseIdentifier() const { return objc::send<NS::String*>(this, "reuseIdentifier"_sel); }

    View* contentView() const { return objc::send<View*>(this, "contentView"_sel); }
    Label* textLabel() const { return objc::send<Label*>(this, "textLabel"_sel); }
    // nil in the default style.
    Label* detailTextLabel() const { return objc::send<Label*>(this, "detailTextLabel"_sel); }

    // Retained; shown instead of the accessory type's mark.
    View* accessoryView() const { return objc::send<View*>(this, "accessoryView"_sel); }
    void setAccessoryView(View* view) { objc::send<void>(this, "setAccessoryView:"_sel, view); }
    UITableViewCellAccessoryType accessoryType() const {
        return objc::send<UITableViewCellAccessoryType>(this, "accessoryType"_sel);
    }
    void setAccessoryType(UITableViewCellAccessoryType type) { objc::send<void>(this, "setAccessoryType:"_sel, type); }

    UITableViewCellSelectionStyle selectionStyle() const {
        return objc::send<UITableViewCellSelectionStyle>(this, "selectionStyle"_sel);
    }
    void setSelectionStyle(UITableViewCellSelectionStyle style) {
        objc::send<void>(this, "setSelectionStyle:"_sel, style);
    }
    BOOL isSelected() const { return objc::send<BOOL>(this, "isSelected"_sel); }
    void setSelected(BOOL selected, BOOL animated) {
        objc::send<void>(this, "setSelected:animated:"_sel, selected, animated);
    }
    BOOL isHighlighted() const { return objc::send<BOOL>(this, "isHighlighted"_sel); }
    void setHighlighted(BOOL highlighted, BOOL animated) {
        objc::send<void>(this, "setHighlighted:animated:"_sel, highlighted, animated);
    }
};

}  // namespace UI
