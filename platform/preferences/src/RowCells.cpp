#include "RowCells.h"

#include <Preferences/PSTableCell.h>
#include <UIKit/UIKit.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "RowKind.h"
#include "RowValues.h"

#include "PreferencesInternal.h"

namespace PS::rows {
namespace {

constexpr CGFloat kCellTextSize = 17;

using internal::isKind;
using internal::isSubclass;

Specifier* rowOfCell(id cell) {
    return isKind(cell, "PSTableCell"_cls) ? objc::cast<TableCell>(cell)->specifier() : nullptr;
}

id property(Specifier* row, const char* key) { return row->propertyForKey(NS::String::stringWithUTF8String(key)); }

// The reuse identifier names the row's cell type, as the phone's does.
NS::String* reuseIdentifierOf(Kind kind) {
    return NS::String::stringWithUTF8String((std::string("PS") + kindName(kind) + "Cell").c_str());
}

// A cell of the class the row names, or of the plain class when it names
// none, one that is not a cell of the framework, or one whose initialiser
// gives nothing.
id newCell(Specifier* row, Kind kind) {
    Class base = "PSTableCell"_cls;
    Class custom = row != nullptr ? row->cellClass() : Nil;
    const UI::UITableViewCellStyle style = styleOf(kind);
    NS::String* reuse = reuseIdentifierOf(kind);
    if (custom != Nil && custom != base && isSubclass(custom, base)) {
        id cell = objc::send<id>(objc::send<id>(custom, "alloc"_sel), "initWithStyle:reuseIdentifier:specifier:"_sel,
                                 style, reuse, row);
        if (isKind(cell, base)) return cell;
        objc::release(cell);
    }
    return objc::send<id>(objc::send<id>(base, "alloc"_sel), "initWithStyle:reuseIdentifier:specifier:"_sel, style,
                          reuse, row);
}

void makeSwitch(id cell) {
    UI::Switch* control = UI::Switch::alloc()->initWithFrame(CGRectZero);
    control->addTarget(cell, "_switchValueChanged:"_sel, UI::UIControlEventValueChanged);
    objc::cast<UI::TableViewCell>(cell)->setAccessoryView(control);
    objc::release(control);
}

// A drag writes its value once, when the finger lifts, unless the list asks
// for every step ("isContinuous"); the slider itself follows the finger
// continuously so that a segmented slider snaps and the value label counts
// along.
void makeSlider(id cell, Specifier* row) {
    UI::Slider* control = UI::Slider::alloc()->initWithFrame(CGRectMake(0, 0, 100, 34));
    double low = numberOf(property(row, "min"), 0);
    double high = numberOf(property(row, "max"), 1);
    if (low > high) std::swap(low, high);
    control->setMinimumValue(static_cast<float>(low));
    control->setMaximumValue(static_cast<float>(high));
    control->setContinuous(YES);
    control->addTarget(cell, "_sliderValueChanged:"_sel, UI::UIControlEventValueChanged);
    control->addTarget(
        cell, "_sliderReleased:"_sel,
        UI::UIControlEventTouchUpInside | UI::UIControlEventTouchUpOutside | UI::UIControlEventTouchCancel);
    setCellControl(cell, control);
    objc::release(control);
    if (boolOf(property(row, "showValue"))) {
        UI::Label* label = UI::Label::alloc()->initWithFrame(CGRectZero);
        label->setFont(UI::Font::systemFontOfSize(kCellTextSize));
        label->setTextAlignment(UI::NSTextAlignmentRight);
        setCellValueLabel(cell, label);
        objc::release(label);
    }
}

// A segmented slider ("isSegmented", "segmentCount" steps) only takes whole
// steps between its ends.
float snapped(Specifier* row, UI::Slider* slider, float value) {
    if (!boolOf(property(row, "isSegmented"))) return value;
    const double steps = std::floor(numberOf(property(row, "segmentCount"), 0));
    const double low = slider->minimumValue(), high = slider->maximumValue();
    if (steps < 1 || steps > 10000 || high <= low) return value;
    const double step = (high - low) / steps;
    return static_cast<float>(low + std::round((value - low) / step) * step);
}

void showSliderValue(id cell, float value) {
    UI::Label* label = cellValueLabel(cell);
    if (label == nullptr) return;
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(shortestDecimal(value) * 100) / 100);
    label->setText(NS::String::stringWithUTF8String(text));
}

void makeTextField(id cell, Specifier* row) {
    UI::TextField* field = UI::TextField::alloc()->initWithFrame(CGRectMake(0, 0, 100, 31));
    field->setBorderStyle(UI::UITextBorderStyleNone);
    field->setFont(UI::Font::systemFontOfSize(kCellTextSize));
    if (NS::String* placeholder = textOf(property(row, "placeholder"))) field->setPlaceholder(placeholder);
    field->addTarget(cell, "_textEditingDidEnd:"_sel, UI::UIControlEventEditingDidEnd);
    field->addTarget(cell, "_textReturned:"_sel, UI::UIControlEventEditingDidEndOnExit);
    setCellControl(cell, field);
    objc::release(field);
}

void dress(id cell, Specifier* row, Kind kind) {
    auto* c = objc::cast<UI::TableViewCell>(cell);
    setCellKind(cell, kind);
    switch (kind) {
    case Kind::Link:
    case Kind::List: c->setAccessoryType(UI::UITableViewCellAccessoryDisclosureIndicator); break;
    case Kind::Switch:
        makeSwitch(cell);
        c->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);
        break;
    case Kind::Slider:
        makeSlider(cell, row);
        c->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);
        break;
    case Kind::Edit:
        makeTextField(cell, row);
        c->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);
        break;
    case Kind::Static:
    case Kind::Value: c->setSelectionStyle(UI::UITableViewCellSelectionStyleNone); break;
    case Kind::Button:
    case Kind::Choice: break;
    }
}

void setDetailText(id cell, NS::String* text) {
    UI::Label* detail = objc::cast<UI::TableViewCell>(cell)->detailTextLabel();
    if (detail == nullptr) return;
    detail->setText(text != nullptr ? text : ""_ns);
    objc::send<void>(cell, "setNeedsLayout"_sel);
}

// The control that sent an action, and the row and pane of its cell.
struct Sender {
    id pane = nil;
    Specifier* row = nullptr;
};
Sender senderOf(id cell) {
    Sender s;
    s.row = rowOfCell(cell);
    s.pane = paneOfCell(cell);
    return s;
}

void switchValueChanged(id self, SEL, UI::Switch* control) {
    Sender s = senderOf(self);
    if (s.row == nullptr || control == nullptr) return;
    writeValue(s.pane, s.row, objc::asId(NS::Number::numberWithBool(control->isOn())));
}

void writeSliderValue(const Sender& s, UI::Slider* control) {
    const double value = shortestDecimal(control->value());
    id before = readValue(s.pane, s.row);
    if (before != nil && numberOf(before, value + 1) == value) return;
    writeValue(s.pane, s.row, objc::asId(NS::Number::numberWithDouble(value)));
}

void sliderValueChanged(id self, SEL, UI::Slider* control) {
    Sender s = senderOf(self);
    if (s.row == nullptr || control == nullptr) return;
    const float value = snapped(s.row, control, control->value());
    if (value != control->value()) control->setValue(value);
    showSliderValue(self, value);
    if (boolOf(property(s.row, "isContinuous"))) writeSliderValue(s, control);
}

void sliderReleased(id self, SEL, UI::Slider* control) {
    Sender s = senderOf(self);
    if (s.row == nullptr || control == nullptr || boolOf(property(s.row, "isContinuous"))) return;
    writeSliderValue(s, control);
}

// Text is written as a string, whatever keyboard the row asks for, as the
// phone's text rows do: readers of a numeric setting read a string's number.
// Ending an edit that changed nothing writes nothing.
void textEditingDidEnd(id self, SEL, UI::TextField* field) {
    Sender s = senderOf(self);
    if (s.row == nullptr || field == nullptr) return;
    NS::String* text = field->text();
    NS::String* before = textOf(readValue(s.pane, s.row));
    if (before != nullptr ? before->isEqualToString(text) : text->length() == 0) return;
    writeValue(s.pane, s.row, objc::asId(text));
}

void textReturned(id, SEL, UI::TextField* field) {
    if (field != nullptr) field->resignFirstResponder();
}

}  // namespace

id makeCell(id pane, Specifier* row) {
    const Kind kind = kindOf(row);
    id cell = objc::autorelease(newCell(row, kind));
    dress(cell, row, kind);
    if (pane != nil) showValue(pane, cell);
    return cell;
}

void showValue(id pane, id cell) {
    Specifier* row = rowOfCell(cell);
    if (row == nullptr) return;
    const Kind kind = cellKind(cell);
    switch (kind) {
    case Kind::List: setDetailText(cell, titleForValue(row, readValue(pane, row))); break;
    case Kind::Value: {
        id value = readValue(pane, row);
        NS::String* title = titleForValue(row, value);
        setDetailText(cell, title != nullptr ? title : textOf(value));
        break;
    }
    case Kind::Switch: {
        UI::View* accessory = objc::cast<UI::TableViewCell>(cell)->accessoryView();
        if (isKind(objc::asId(accessory), "UISwitch"_cls))
            objc::cast<UI::Switch>(accessory)->setOn(boolOf(readValue(pane, row)) ? YES : NO);
        break;
    }
    case Kind::Slider: {
        auto* slider = objc::cast<UI::Slider>(cellControl(cell));
        if (slider == nullptr) break;
        slider->setValue(static_cast<float>(numberOf(readValue(pane, row), slider->minimumValue())));
        showSliderValue(cell, slider->value());
        break;
    }
    case Kind::Edit: {
        auto* field = objc::cast<UI::TextField>(cellControl(cell));
        if (field != nullptr && !field->isEditing()) field->setText(textOf(readValue(pane, row)));
        break;
    }
    default: break;
    }
}

id paneOfCell(id cell) {
    for (id view = objc::send<id>(cell, "superview"_sel); view != nil; view = objc::send<id>(view, "superview"_sel)) {
        if (!isKind(view, "UITableView"_cls)) continue;
        id source = objc::send<id>(view, "dataSource"_sel);
        return isKind(source, "PSListController"_cls) ? source : nil;
    }
    return nil;
}

void addCellMethods(objc::ClassBuilder& builder) {
    builder.method("_switchValueChanged:", &switchValueChanged)
        .method("_sliderValueChanged:", &sliderValueChanged)
        .method("_sliderReleased:", &sliderReleased)
        .method("_textEditingDidEnd:", &textEditingDidEnd)
        .method("_textReturned:", &textReturned);
}

}  // namespace PS::rows
