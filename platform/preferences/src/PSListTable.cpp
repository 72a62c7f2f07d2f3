#include <Preferences/PSListTable.h>

#include <UIKit/UIKit.h>

#include "PreferencesInternal.h"
#include "RowKind.h"

namespace PS::listTable {
namespace {

using internal::isKind;

std::string text(const NS::String* s) { return s != nullptr && s->UTF8String() != nullptr ? s->UTF8String() : ""; }

}  // namespace

UI::TableView* tableOf(ListController* pane) { return pane != nullptr ? pane->table() : nullptr; }

std::vector<TableCell*> cellsOf(ListController* pane) {
    std::vector<TableCell*> cells;
    UI::TableView* table = tableOf(pane);
    if (table == nullptr) return cells;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            UI::TableViewCell* cell = table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s));
            if (isKind(cell, "PSTableCell"_cls)) cells.push_back(objc::cast<TableCell>(cell));
        }
    }
    return cells;
}

TableCell* cellForSpecifier(ListController* pane, const Specifier* row) {
    for (TableCell* cell : cellsOf(pane))
        if (cell->specifier() == row) return cell;
    return nullptr;
}

TableCell* cellNamed(ListController* pane, const std::string& name) {
    for (TableCell* cell : cellsOf(pane))
        if (cell->specifier() != nullptr && text(cell->specifier()->name()) == name) return cell;
    return nullptr;
}

std::string kindOf(TableCell* cell) {
    if (cell == nullptr) return "";
    Class cls = object_getClass(objc::asId(cell));
    if (cls != "PSTableCell"_cls) return class_getName(cls);
    return rows::kindName(rows::cellKind(objc::asId(cell)));
}

ShownValue shownValue(TableCell* cell) {
    ShownValue shown;
    if (cell == nullptr) return shown;
    if (UI::Switch* control = switchOf(cell)) {
        shown.type = ShownValue::Type::Boolean;
        shown.boolean = control->isOn();
    } else if (UI::Slider* slider = sliderOf(cell)) {
        shown.type = ShownValue::Type::Number;
        shown.number = slider->value();
    } else if (UI::TextField* field = textFieldOf(cell)) {
        shown.type = ShownValue::Type::Text;
        shown.text = text(field->text());
    } else if (UI::Label* detail = cell->detailTextLabel(); detail != nullptr && !text(detail->text()).empty()) {
        shown.type = ShownValue::Type::Text;
        shown.text = text(detail->text());
    }
    return shown;
}

UI::Switch* switchOf(TableCell* cell) {
    UI::View* accessory = cell != nullptr ? cell->accessoryView() : nullptr;
    return isKind(accessory, "UISwitch"_cls) ? objc::cast<UI::Switch>(accessory) : nullptr;
}

UI::Slider* sliderOf(TableCell* cell) {
    UI::View* control = cell != nullptr ? rows::cellControl(objc::asId(cell)) : nullptr;
    return isKind(control, "UISlider"_cls) ? objc::cast<UI::Slider>(control) : nullptr;
}

UI::TextField* textFieldOf(TableCell* cell) {
    UI::View* control = cell != nullptr ? rows::cellControl(objc::asId(cell)) : nullptr;
    return isKind(control, "UITextField"_cls) ? objc::cast<UI::TextField>(control) : nullptr;
}

std::vector<Choice> choicesOf(ListItemsController* list) {
    std::vector<Choice> choices;
    for (TableCell* cell : cellsOf(list)) {
        if (rows::cellKind(objc::asId(cell)) != rows::Kind::Choice) continue;
        choices.push_back(Choice{text(cell->specifier() != nullptr ? cell->specifier()->name() : nullptr),
                                 cell->accessoryType() == UI::UITableViewCellAccessoryCheckmark, cell});
    }
    return choices;
}

}  // namespace PS::listTable
