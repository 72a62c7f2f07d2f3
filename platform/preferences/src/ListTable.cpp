#include "ListTable.h"

#include <Preferences/PSListController.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/UIKit.h>

#include <dlfcn.h>

#include <string>

#include "RowCells.h"
#include "RowKind.h"
#include "RowValues.h"

#include "PreferencesInternal.h"

namespace PS::table {
namespace {

constexpr CGFloat kRowHeight = 44;

using internal::isKind;
using internal::isSubclass;

NS::String* nonEmptyString(id value) {
    if (!isKind(value, "NSString"_cls) || objc::cast<NS::String>(value)->length() == 0) return nullptr;
    return objc::cast<NS::String>(value);
}

UI::TableView* tableOf(id self) {
    if (!objc::send<BOOL>(self, "isViewLoaded"_sel)) return nullptr;
    id view = objc::send<id>(self, "view"_sel);
    return isKind(view, "UITableView"_cls) ? objc::cast<UI::TableView>(view) : nullptr;
}

// The sections of `specifiers` as they are now: each group row starts one;
// rows before the first group make a section of their own. Anything in the
// array that is not a row is passed over.
Model& builtModel(id self) {
    Model& m = modelOf(self);
    if (m.built) return m;
    m.built = true;
    m.sections.clear();
    id list = objc::send<id>(self, "specifiers"_sel);
    if (!isKind(list, "NSArray"_cls)) return m;
    auto* rows = objc::cast<NS::Array>(list);
    for (NSUInteger i = 0, n = rows->count(); i < n; ++i) {
        id item = rows->objectAtIndex(i);
        if (!isKind(item, "PSSpecifier"_cls)) continue;
        auto* row = objc::cast<Specifier>(item);
        if (row->cellType() == PSGroupCell) {
            m.sections.push_back(Section{row, {}});
            continue;
        }
        if (m.sections.empty()) m.sections.push_back(Section{});
        m.sections.back().rows.emplace_back(row);
    }
    return m;
}

const Section* sectionAt(id self, NSInteger index) {
    const Model& m = builtModel(self);
    if (index < 0 || static_cast<std::size_t>(index) >= m.sections.size()) return nullptr;
    return &m.sections[static_cast<std::size_t>(index)];
}

// --- the view -------------------------------------------------------------

void loadView(id self, SEL) {
    const CGRect frame = UI::Screen::mainScreen()->bounds();
    UI::TableView* table = UI::TableView::alloc()->initWithFrame(frame, UI::UITableViewStyleGrouped);
    table->setDataSource(self);
    table->setDelegate(self);
    objc::send<void>(self, "setView:"_sel, table);
    objc::release(table);
}

UI::TableView* table(id self, SEL) { return tableOf(self); }

// --- data source ----------------------------------------------------------

NSInteger numberOfSections(id self, SEL, id) { return static_cast<NSInteger>(builtModel(self).sections.size()); }

NSInteger numberOfRows(id self, SEL, id, NSInteger section) {
    const Section* s = sectionAt(self, section);
    return s != nullptr ? static_cast<NSInteger>(s->rows.size()) : 0;
}

NS::String* titleForHeader(id self, SEL, id, NSInteger section) {
    const Section* s = sectionAt(self, section);
    return s != nullptr && s->group ? nonEmptyString(objc::asId(s->group->name())) : nullptr;
}

NS::String* titleForFooter(id self, SEL, id, NSInteger section) {
    const Section* s = sectionAt(self, section);
    return s != nullptr && s->group ? nonEmptyString(s->group->propertyForKey("footerText"_ns)) : nullptr;
}

id cellForRow(id self, SEL, id, id indexPath) { return rows::makeCell(self, rowAt(self, indexPath)); }

// A list may give a row its own "height"; anything unusable keeps the
// standard height.
CGFloat heightForRow(id self, SEL, id, id indexPath) {
    Specifier* row = rowAt(self, indexPath);
    const double height = row != nullptr ? rows::numberOf(row->propertyForKey("height"_ns), kRowHeight) : kRowHeight;
    return height > 0 && height <= 1000 ? static_cast<CGFloat>(height) : kRowHeight;
}

// --- taps -----------------------------------------------------------------

// What the cell asks a tap to send (a colour cell opens its chooser this
// way; a plain cell passes on the row's button action), when its target
// answers it.
bool cellActionOf(id cell, SEL* action, id* target) {
    if (!objc::respondsTo(cell, "cellAction"_sel) || !objc::respondsTo(cell, "cellTarget"_sel)) return false;
    *action = objc::send<SEL>(cell, "cellAction"_sel);
    *target = objc::send<id>(cell, "cellTarget"_sel);
    return *action != nullptr && objc::respondsTo(*target, *action);
}

// The file a class's code was loaded from.
std::string definingFile(Class cls) {
    IMP imp = class_getMethodImplementation(cls, "specifiers"_sel);
    Dl_info info{};
    if (imp == nullptr || dladdr(reinterpret_cast<void*>(imp), &info) == 0 || info.dli_fname == nullptr) return "";
    return info.dli_fname;
}

// Creates the pane a row opens and pushes it. A pane from the same bundle
// as this one reads its lists from the same folder.
void push(id self, Specifier* row, Class cls) {
    if (cls == Nil || !isSubclass(cls, "UIViewController"_cls)) return;
    id navigation = objc::send<id>(self, "navigationController"_sel);
    if (navigation == nil) return;
    id pane = objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel);
    if (pane == nil) return;
    if (objc::respondsTo(pane, "setSpecifier:"_sel)) objc::send<void>(pane, "setSpecifier:"_sel, row);
    if (objc::respondsTo(pane, "setParentController:"_sel)) objc::send<void>(pane, "setParentController:"_sel, self);
    if (isKind(pane, "PSListController"_cls) && definingFile(cls) == definingFile(object_getClass(self))) {
        if (NS::String* folder = objc::send<NS::String*>(self, "bundlePath"_sel))
            objc::send<void>(pane, "setBundlePath:"_sel, folder);
    }
    if (NS::String* title = row->name()) objc::send<void>(pane, "setTitle:"_sel, title);
    objc::send<void>(navigation, "pushViewController:animated:"_sel, pane, static_cast<BOOL>(YES));
    objc::release(pane);
}

// The pane class a link row names; looked up again at the tap, for a class
// that was registered after the list was read.
Class detailClassOf(Specifier* row) {
    if (Class cls = row->detailControllerClass()) return cls;
    NS::String* name = nonEmptyString(row->propertyForKey("detail"_ns));
    return name != nullptr ? objc_getClass(name->UTF8String()) : Nil;
}

Class listClassOf(Specifier* row) {
    Class base = objc_getClass("PSListItemsController");
    Class named = detailClassOf(row);
    return named != Nil && isSubclass(named, base) ? named : base;
}

bool isTappable(id cell, Specifier* row) {
    SEL action = nullptr;
    id target = nil;
    if (cellActionOf(cell, &action, &target)) return true;
    switch (rows::cellKind(cell)) {
    case rows::Kind::Link:
    case rows::Kind::List:
    case rows::Kind::Choice:
    case rows::Kind::Button:
    case rows::Kind::Edit: return row != nullptr;
    default: return false;
    }
}

void tap(id self, id cell, Specifier* row) {
    SEL action = nullptr;
    id target = nil;
    if (cellActionOf(cell, &action, &target)) {
        rows::sendRowAction(target, action, row);
        return;
    }
    switch (rows::cellKind(cell)) {
    case rows::Kind::Link: push(self, row, detailClassOf(row)); break;
    case rows::Kind::List: push(self, row, listClassOf(row)); break;
    case rows::Kind::Edit:
        if (UI::View* field = rows::cellControl(cell)) field->becomeFirstResponder();
        break;
    default: break;
    }
}

id willSelectRow(id self, SEL, UI::TableView* tableView, id indexPath) {
    Specifier* row = rowAt(self, indexPath);
    return isTappable(objc::asId(tableView->cellForRowAtIndexPath(objc::cast<NS::IndexPath>(indexPath))), row)
               ? indexPath
               : nil;
}

// Rows light up while they are tapped and go back to white once the tap has
// done its work, as on the phone.
void didSelectRow(id self, SEL, UI::TableView* tableView, id indexPath) {
    Ref<NS::Object> keepPane(objc::cast<NS::Object>(self));
    Ref<UI::TableView> keepTable(tableView);
    Ref<Specifier> row(rowAt(self, indexPath));
    Ref<UI::TableViewCell> cell(tableView->cellForRowAtIndexPath(objc::cast<NS::IndexPath>(indexPath)));
    if (row && cell) tap(self, objc::asId(cell.get()), row);
    tableView->deselectRowAtIndexPath(objc::cast<NS::IndexPath>(indexPath), YES);
}

}  // namespace

Specifier* rowAt(id self, id indexPath) {
    if (indexPath == nil) return nullptr;
    const Section* s = sectionAt(self, objc::send<NSInteger>(indexPath, "section"_sel));
    const NSInteger index = objc::send<NSInteger>(indexPath, "row"_sel);
    if (s == nullptr || index < 0 || static_cast<std::size_t>(index) >= s->rows.size()) return nullptr;
    return s->rows[static_cast<std::size_t>(index)];
}

void addMethods(objc::ClassBuilder& builder) {
    builder.method("loadView", &loadView)
        .method("table", &table)
        .method("numberOfSectionsInTableView:", &numberOfSections)
        .method("tableView:numberOfRowsInSection:", &numberOfRows)
        .method("tableView:titleForHeaderInSection:", &titleForHeader)
        .method("tableView:titleForFooterInSection:", &titleForFooter)
        .method("tableView:cellForRowAtIndexPath:", &cellForRow)
        .method("tableView:heightForRowAtIndexPath:", &heightForRow)
        .method("tableView:willSelectRowAtIndexPath:", &willSelectRow)
        .method("tableView:didSelectRowAtIndexPath:", &didSelectRow);
}

void rebuild(id self) {
    if (self == nil) return;
    modelOf(self).built = false;
    if (UI::TableView* table = tableOf(self)) table->reloadData();
}

void refreshRow(id self, Specifier* row) {
    UI::TableView* table = tableOf(self);
    if (table == nullptr || row == nullptr) return;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            id cell = objc::asId(table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s)));
            if (isKind(cell, "PSTableCell"_cls) && objc::cast<TableCell>(cell)->specifier() == row)
                rows::showValue(self, cell);
        }
    }
}

void detach(id self) {
    UI::TableView* table = tableOf(self);
    if (table == nullptr) return;
    if (table->dataSource() == self) table->setDataSource(nullptr);
    if (table->delegate() == self) table->setDelegate(nullptr);
}

}  // namespace PS::table
