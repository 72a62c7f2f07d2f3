// PSSpecifier: one row of a settings pane. A specifier list (a property list
// resource of a settings bundle) gives one dictionary per row; the row keeps
// that whole dictionary as its `properties`, so a pane or a custom cell can
// read any key the list author put there ("key", "default", "color_key"...),
// and the framework reads the keys it knows into typed fields:
//
//     "cell"        the cell type (PSGroupCell, PSSwitchCell, ...)
//     "label"       the row's title (`name`)
//     "detail"      the class of the pane a link row opens
//     "cellClass"   a custom cell class (a subclass of PSTableCell)
//     "action"      the selector a button row sends to its target
//     "validValues" / "validTitles"  the choices of a list-items row
//
// A class named in the list that does not exist leaves that field Nil: the
// row still shows, and tapping it does nothing.
#pragma once

#include <Foundation/Foundation.h>

namespace PS {

enum CellType : NSInteger {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,  // a list-items row: "validValues" chosen on a sub-list
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
};

class Specifier : public NS::Object {
public:
    static Specifier* alloc() { return objc::send<Specifier*>("PSSpecifier"_cls, "alloc"_sel); }
    // An autoreleased row of the given name and cell type, with empty
    // properties.
    static Specifier* preferenceSpecifierNamed(const NS::String* name, objc::AnyObject target, NSInteger cellType) {
        return objc::send<Specifier*>("PSSpecifier"_cls, "preferenceSpecifierNamed:target:cell:"_sel, name,
                                      target.get(), cellType);
    }

    NS::MutableDictionary* properties() const { return objc::send<NS::MutableDictionary*>(this, "properties"_sel); }
    void setProperties(const NS::Dictionary* p) { objc::send<void>(this, "setProperties:"_sel, p); }
    id propertyForKey(const NS::String* key) const { return objc::send<id>(this, "propertyForKey:"_sel, key); }
    void setProperty(objc::AnyObject value, const NS::String* key) {
        objc::send<void>(this, "setProperty:forKey:"_sel, value.get(), key);
    }

    NS::String* name() const { return objc::send<NS::String*>(this, "name"_sel); }
    void setName(const NS::String* name) { objc::send<void>(this, "setName:"_sel, name); }
    NS::String* identifier() const { return objc::send<NS::String*>(this, "identifier"_sel); }
    NSInteger cellType() const { return objc::send<NSInteger>(this, "cellType"_sel); }
    void setCellType(NSInteger type) { objc::send<void>(this, "setCellType:"_sel, type); }
    Class detailControllerClass() const { return objc::send<Class>(this, "detailControllerClass"_sel); }
    void setDetailControllerClass(Class cls) { objc::send<void>(this, "setDetailControllerClass:"_sel, cls); }
    Class cellClass() const { return objc::send<Class>(this, "cellClass"_sel); }

    // The object button actions, getters and setters are sent to; not
    // retained (it is the pane, which owns its rows).
    id target() const { return objc::send<id>(this, "target"_sel); }
    void setTarget(objc::AnyObject target) { objc::send<void>(this, "setTarget:"_sel, target.get()); }
    SEL buttonAction() const { return objc::send<SEL>(this, "buttonAction"_sel); }
    void setButtonAction(SEL action) { objc::send<void>(this, "setButtonAction:"_sel, action); }

    // The choices of a list-items row (nil for other rows).
    NS::Array* values() const { return objc::send<NS::Array*>(this, "values"_sel); }
    NS::Array* titles() const { return objc::send<NS::Array*>(this, "titles"_sel); }
    void setValues(const NS::Array* values, const NS::Array* titles) {
        objc::send<void>(this, "setValues:titles:"_sel, values, titles);
    }
    // The title shown for a value of a list-items row: the title at the
    // value's index, else nil.
    NS::String* titleForValue(objc::AnyObject value) const {
        return objc::send<NS::String*>(this, "titleForValue:"_sel, value.get());
    }
};

// The cell type named in a list ("PSSwitchCell" -> PSSwitchCell); -1 for a
// name the framework does not know.
NSInteger cellTypeFromString(const NS::String* name);

void registerSpecifier();

}  // namespace PS
