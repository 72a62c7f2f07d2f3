#include <Preferences/PSSpecifier.h>

#include <ObjCBridge/ObjCBridge.h>

#include <cstring>
#include <utility>

namespace PS {
namespace {

struct SpecifierState {
    Ref<NS::MutableDictionary> properties;
    Ref<NS::String> name;
    NSInteger cellType = PSStaticTextCell;
    Class detailControllerClass = Nil;
    id target = nil;  // not retained: the target owns its rows
    SEL buttonAction = nullptr;
    Ref<NS::Array> values;
    Ref<NS::Array> titles;
};

SpecifierState& stateOf(id self) { return objc::state<SpecifierState>(self); }

id init(id self, SEL) {
    self = objc::sendSuper<id>(self, "PSSpecifier"_cls, "init"_sel);
    if (self != nil) stateOf(self).properties = NS::MutableDictionary::dictionary();
    return self;
}

id preferenceSpecifierNamed(Class cls, SEL, NS::String* name, id target, NSInteger cellType) {
    id row = objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel);
    SpecifierState& s = stateOf(row);
    s.name = name;
    s.target = target;
    s.cellType = cellType;
    return objc::autorelease(row);
}

NS::MutableDictionary* properties(id self, SEL) { return stateOf(self).properties; }
void setProperties(id self, SEL, NS::Dictionary* p) {
    stateOf(self).properties =
        p != nullptr ? NS::MutableDictionary::dictionaryWithDictionary(p) : NS::MutableDictionary::dictionary();
}
id propertyForKey(id self, SEL, NS::String* key) {
    return key != nullptr ? stateOf(self).properties->objectForKey(key) : nil;
}
void setPropertyForKey(id self, SEL, id value, NS::String* key) {
    if (key == nullptr) return;
    if (value == nil)
        stateOf(self).properties->removeObjectForKey(key);
    else
        stateOf(self).properties->setObject(value, key);
}

NS::String* name(id self, SEL) { return stateOf(self).name; }
void setName(id self, SEL, NS::String* n) {
    stateOf(self).name = n != nullptr ? objc::adopt(n->copy()) : Ref<NS::String>();
}
NS::String* identifier(id self, SEL) {
    // Rows without an "id" are known by their title, as on the phone.
    id given = stateOf(self).properties->objectForKey("id"_ns);
    if (given != nil && objc::send<BOOL>(given, "isKindOfClass:"_sel, "NSString"_cls))
        return objc::cast<NS::String>(given);
    return stateOf(self).name;
}
NSInteger cellType(id self, SEL) { return stateOf(self).cellType; }
void setCellType(id self, SEL, NSInteger t) { stateOf(self).cellType = t; }
Class detailControllerClass(id self, SEL) { return stateOf(self).detailControllerClass; }
void setDetailControllerClass(id self, SEL, Class c) { stateOf(self).detailControllerClass = c; }
Class cellClass(id self, SEL) {
    // Looked up at each use, so that a class registered after the list was
    // read (a bundle loading late) is still found.
    id named = stateOf(self).properties->objectForKey("cellClass"_ns);
    if (named == nil || !objc::send<BOOL>(named, "isKindOfClass:"_sel, "NSString"_cls)) return Nil;
    return objc_getClass(objc::cast<NS::String>(named)->UTF8String());
}
id target(id self, SEL) { return stateOf(self).target; }
void setTarget(id self, SEL, id t) { stateOf(self).target = t; }
SEL buttonAction(id self, SEL) { return stateOf(self).buttonAction; }
void setButtonAction(id self, SEL, SEL a) { stateOf(self).buttonAction = a; }
NS::Array* values(id self, SEL) { return stateOf(self).values; }
NS::Array* titles(id self, SEL) { return stateOf(self).titles; }
void setValuesTitles(id self, SEL, NS::Array* v, NS::Array* t) {
    stateOf(self).values = v;
    stateOf(self).titles = t;
}
NS::String* titleForValue(id self, SEL, id value) {
    SpecifierState& s = stateOf(self);
    if (value == nil || !s.values || !s.titles) return nullptr;
    NSUInteger index = s.values->indexOfObject(value);
    if (index >= s.titles->count()) return nullptr;  // also NSNotFound
    id title = s.titles->objectAtIndex(index);
    return objc::send<BOOL>(title, "isKindOfClass:"_sel, "NSString"_cls) ? objc::cast<NS::String>(title) : nullptr;
}

NS::String* description(id self, SEL) {
    NS::String* n = stateOf(self).name;
    return NS::String::stringWithFormat("<PSSpecifier %@ cell %ld>"_ns, n != nullptr ? n : "(untitled)"_ns,
                                        static_cast<long>(stateOf(self).cellType));
}

}  // namespace

NSInteger cellTypeFromString(const NS::String* text) {
    static const std::pair<const char*, NSInteger> kTypes[] = {
        {"PSGroupCell", PSGroupCell},
        {"PSLinkCell", PSLinkCell},
        {"PSLinkListCell", PSLinkListCell},
        {"PSListItemCell", PSListItemCell},
        {"PSTitleValueCell", PSTitleValueCell},
        {"PSSliderCell", PSSliderCell},
        {"PSSwitchCell", PSSwitchCell},
        {"PSStaticTextCell", PSStaticTextCell},
        {"PSEditTextCell", PSEditTextCell},
        {"PSSegmentCell", PSSegmentCell},
        {"PSSecureEditTextCell", PSSecureEditTextCell},
        {"PSButtonCell", PSButtonCell},
    };
    if (text == nullptr) return -1;
    const char* utf8 = text->UTF8String();
    if (utf8 == nullptr) return -1;
    for (const auto& [label, type] : kTypes)
        if (std::strcmp(label, utf8) == 0) return type;
    return -1;
}

void registerSpecifier() {
    static const bool registered = [] {
        objc::ClassBuilder("PSSpecifier", objc::cls("NSObject"))
            .state<SpecifierState>()
            .method("init", &init)
            .classMethod("preferenceSpecifierNamed:target:cell:", &preferenceSpecifierNamed)
            .method("properties", &properties)
            .method("setProperties:", &setProperties)
            .method("propertyForKey:", &propertyForKey)
            .method("setProperty:forKey:", &setPropertyForKey)
            .method("name", &name)
            .method("setName:", &setName)
            .method("identifier", &identifier)
            .method("cellType", &cellType)
            .method("setCellType:", &setCellType)
            .method("detailControllerClass", &detailControllerClass)
            .method("setDetailControllerClass:", &setDetailControllerClass)
            .method("cellClass", &cellClass)
            .method("target", &target)
            .method("setTarget:", &setTarget)
            .method("buttonAction", &buttonAction)
            .method("setButtonAction:", &setButtonAction)
            .method("values", &values)
            .method("titles", &titles)
            .method("setValues:titles:", &setValuesTitles)
            .method("titleForValue:", &titleForValue)
            .method("description", &description)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
