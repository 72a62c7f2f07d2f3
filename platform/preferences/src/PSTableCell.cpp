#include <Preferences/PSTableCell.h>

#include <ObjCBridge/ObjCBridge.h>
#include <UIKit/UILabel.h>

#include <algorithm>
#include <cmath>

#include "RowCells.h"
#include "RowKind.h"

namespace PS {
namespace {

// The margins of a Settings row: 15 points at each side, 12 between a title
// and the control beside it.
constexpr CGFloat kMargin = 15;
constexpr CGFloat kGap = 12;
constexpr CGFloat kSliderHeight = 34;
constexpr CGFloat kFieldHeight = 31;

constexpr CGFloat kValueWidth = 44;

struct TableCellState {
    rows::Kind kind = rows::Kind::Static;
    Ref<UI::View> control;
    Ref<UI::Label> valueLabel;
};

TableCellState& stateOf(id self) { return objc::state<TableCellState>(self); }

Specifier* rowOf(id self) { return objc::cast<Specifier>(TableCell::specifierIvar(self)); }

id initWithStyleReuseIdentifierSpecifier(id self, SEL, NSInteger style, NS::String* reuse, Specifier* row) {
    self = objc::sendSuper<id>(self, "PSTableCell"_cls, "initWithStyle:reuseIdentifier:"_sel, style, reuse);
    if (self == nil) return nil;
    TableCell::specifierIvar(self) = objc::retain(row);
    if (row != nullptr) objc::send<void>(objc::send<id>(self, "textLabel"_sel), "setText:"_sel, row->name());
    return self;
}

SEL action(id self, SEL) { return rowOf(self) != nullptr ? rowOf(self)->buttonAction() : nullptr; }
id target(id self, SEL) { return rowOf(self) != nullptr ? rowOf(self)->target() : nil; }
SEL cellAction(id self, SEL) { return objc::send<SEL>(self, "action"_sel); }
id cellTarget(id self, SEL) { return objc::send<id>(self, "target"_sel); }

void didMoveToSuperview(id self, SEL _cmd) { objc::sendSuper<void>(self, "PSTableCell"_cls, _cmd); }

// The base lays out the labels and the accessory; a slider or a text field
// then takes the room right of the title (all of it when the row has none).
void layoutSubviews(id self, SEL _cmd) {
    objc::sendSuper<void>(self, "PSTableCell"_cls, _cmd);
    TableCellState& s = stateOf(self);
    auto* cell = objc::cast<UI::TableViewCell>(self);
    UI::Label* label = cell->textLabel();
    // Button titles follow the tint of wherever the cell is shown.
    if (s.kind == rows::Kind::Button && label != nullptr) label->setTextColor(cell->tintColor());
    if (!s.control) return;

    const CGRect bounds = cell->contentView()->bounds();
    const CGFloat height = bounds.size.height;
    CGFloat left = kMargin;
    const CGFloat right = bounds.size.width - kMargin;
    NS::String* title = label != nullptr ? label->text() : nullptr;
    if (title != nullptr && title->length() > 0) {
        const CGFloat room = std::max<CGFloat>(right - left, 0);
        const CGFloat share = s.kind == rows::Kind::Slider ? 0.4 : 0.45;
        const CGFloat width = std::min(label->sizeThatFits(CGSizeMake(room, height)).width, std::round(room * share));
        label->setFrame(CGRectMake(left, 0, width, height));
        left += width + kGap;
    }
    CGFloat controlRight = right;
    if (s.valueLabel) {
        s.valueLabel->setFrame(CGRectMake(right - kValueWidth, 0, kValueWidth, height));
        controlRight -= kValueWidth + kGap;
    }
    const CGFloat controlHeight = std::min(s.kind == rows::Kind::Slider ? kSliderHeight : kFieldHeight, height);
    s.control->setFrame(CGRectMake(left, std::round((height - controlHeight) / 2),
                                   std::max<CGFloat>(controlRight - left, 0), controlHeight));
}

void dealloc(id self, SEL _cmd) {
    id& row = TableCell::specifierIvar(self);
    objc::release(row);
    row = nil;
    objc::sendSuper<void>(self, "PSTableCell"_cls, _cmd);
}

}  // namespace

id& TableCell::specifierIvar(id self) {
    static const std::ptrdiff_t offset = [] {
        Ivar ivar = class_getInstanceVariable(objc::cls("PSTableCell"), "_specifier");
        if (ivar == nullptr) objc::fatal("PSTableCell has no _specifier");
        return ivar_getOffset(ivar);
    }();
    return *reinterpret_cast<id*>(reinterpret_cast<char*>(self) + offset);
}

namespace rows {

Kind cellKind(id cell) { return stateOf(cell).kind; }
void setCellKind(id cell, Kind kind) { stateOf(cell).kind = kind; }
UI::View* cellControl(id cell) { return stateOf(cell).control; }
void setCellControl(id cell, UI::View* control) {
    TableCellState& s = stateOf(cell);
    if (s.control) s.control->removeFromSuperview();
    s.control = control;
    if (control != nullptr) objc::cast<UI::TableViewCell>(cell)->contentView()->addSubview(control);
    objc::send<void>(cell, "setNeedsLayout"_sel);
}

UI::Label* cellValueLabel(id cell) { return stateOf(cell).valueLabel; }
void setCellValueLabel(id cell, UI::Label* label) {
    TableCellState& s = stateOf(cell);
    if (s.valueLabel) s.valueLabel->removeFromSuperview();
    s.valueLabel = label;
    if (label != nullptr) objc::cast<UI::TableViewCell>(cell)->contentView()->addSubview(label);
    objc::send<void>(cell, "setNeedsLayout"_sel);
}

}  // namespace rows

void registerTableCell() {
    static const bool registered = [] {
        objc::ClassBuilder builder("PSTableCell", objc::cls("UITableViewCell"));
        rows::addCellMethods(builder);
        builder.ivar("_specifier", sizeof(id), alignof(id), "@")
            .state<TableCellState>()
            .method("initWithStyle:reuseIdentifier:specifier:", &initWithStyleReuseIdentifierSpecifier)
            .method("action", &action)
            .method("target", &target)
            .method("cellAction", &cellAction)
            .method("cellTarget", &cellTarget)
            .method("didMoveToSuperview", &didMoveToSuperview)
            .method("layoutSubviews", &layoutSubviews)
            .method("dealloc", &dealloc)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
