// PSListController: a pane of the Settings app. Its view is a grouped table
// (`table`) of its rows (`specifiers`), which it keeps in the instance
// variable `_specifiers`; subclasses fill that themselves:
//
//     NS::Array* specifiers(id self, SEL) {
//         id& rows = PS::ListController::specifiersIvar(self);
//         if (rows == nil)
//             rows = objc::retain(objc::cast<PS::ListController>(self)->loadSpecifiersFromPlistName("Huebloom"_ns,
//             self));
//         return objc::cast<NS::Array>(rows);
//     }
//
// A pane reads its lists from the folder of the bundle its class was loaded
// from ("<bundle>/<name>.plist"); the Settings app may name the folder
// itself (setBundlePath). Values of rows with a "key" are read and written
// through the row's "defaults" domain (CFPreferences), shown as the row's
// "default" while nothing is stored; a written value is synchronised at once
// and the row's "PostNotification" is posted device-wide. Rows with "get" or
// "set" selectors ask their target instead (a getter with no argument or the
// row; a setter with the value, or the value and the row).
//
// The table: each group row (PSGroupCell) starts a section titled with its
// "label" and footed with its "footerText"; rows before the first group
// form a section without a title. Every other row gets one PSTableCell (or
// the subclass its "cellClass" names), holding the row in `_specifier`; see
// <Preferences/PSListTable.h> for the kinds of rows and what a tap does.
// The rows are placed when the table first lays out, and again at every
// `reload` and at the base's viewWillAppear: (a pane that overrides
// viewWillAppear: and reloads itself does not place them twice).
#pragma once

#include <Preferences/PSSpecifier.h>
#include <UIKit/UITableView.h>
#include <UIKit/UIViewController.h>

#include <string>

namespace PS {

class ListController : public UI::ViewController {
public:
    static ListController* alloc() { return objc::send<ListController*>("PSListController"_cls, "alloc"_sel); }
    ListController* init() { return objc::send<ListController*>(this, "init"_sel); }

    // The rows; the base gives what `_specifiers` holds (nil when empty).
    NS::Array* specifiers() { return objc::send<NS::Array*>(this, "specifiers"_sel); }
    NS::Array* loadSpecifiersFromPlistName(const NS::String* name, objc::AnyObject target) {
        return objc::send<NS::Array*>(this, "loadSpecifiersFromPlistName:target:"_sel, name, target.get());
    }
    // Asks `specifiers` again and places every cell anew.
    void reload() { objc::send<void>(this, "reload"_sel); }
    // The table that is the controller's view; nil until the view is loaded.
    UI::TableView* table() { return objc::send<UI::TableView*>(this, "table"_sel); }

    id readPreferenceValue(Specifier* row) { return objc::send<id>(this, "readPreferenceValue:"_sel, row); }
    void setPreferenceValue(objc::AnyObject value, Specifier* row) {
        objc::send<void>(this, "setPreferenceValue:specifier:"_sel, value.get(), row);
    }

    // The host folder the lists are read from.
    NS::String* bundlePath() { return objc::send<NS::String*>(this, "bundlePath"_sel); }
    void setBundlePath(const NS::String* path) { objc::send<void>(this, "setBundlePath:"_sel, path); }

    void viewWillAppear(BOOL animated) { objc::send<void>(this, "viewWillAppear:"_sel, animated); }

    // The instance variable `_specifiers` of a list controller: a retained
    // array or nil, released with the controller.
    static id& specifiersIvar(id self);
};

void registerListController();

}  // namespace PS
