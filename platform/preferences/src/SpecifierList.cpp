#include <Preferences/SpecifierList.h>

#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>

#include "PreferencesInternal.h"

namespace PS {
namespace {

using internal::isKind;

NS::String* stringFor(const NS::Dictionary* item, const NS::String* key) {
    id value = item->objectForKey(key);
    return isKind(value, "NSString"_cls) ? objc::cast<NS::String>(value) : nullptr;
}

NS::Array* arrayFor(const NS::Dictionary* item, const NS::String* key) {
    id value = item->objectForKey(key);
    return isKind(value, "NSArray"_cls) ? objc::cast<NS::Array>(value) : nullptr;
}

SEL selectorFor(const NS::Dictionary* item, const NS::String* key) {
    NS::String* name = stringFor(item, key);
    if (name == nullptr || name->length() == 0) return nullptr;
    return sel_registerName(name->UTF8String());
}

// The cell type of a row. Lists written for other frameworks name cell types
// this one does not know, or only a custom "cellClass"; such rows become the
// nearest kind that still shows their title and keeps their behaviour.
NSInteger cellTypeOf(const NS::Dictionary* item) {
    NSInteger type = cellTypeFromString(stringFor(item, "cell"_ns));
    if (type >= 0) return type;
    if (stringFor(item, "detail"_ns) != nullptr) return PSLinkCell;
    if (stringFor(item, "action"_ns) != nullptr) return PSButtonCell;
    return PSStaticTextCell;
}

}  // namespace

Specifier* specifierFromDictionary(const NS::Dictionary* item, id target) {
    Specifier* row = Specifier::preferenceSpecifierNamed(stringFor(item, "label"_ns), target, cellTypeOf(item));
    row->setProperties(item);

    if (NS::String* detail = stringFor(item, "detail"_ns))
        row->setDetailControllerClass(objc_getClass(detail->UTF8String()));
    if (SEL action = selectorFor(item, "action"_ns)) row->setButtonAction(action);

    NS::Array* values = arrayFor(item, "validValues"_ns);
    NS::Array* titles = arrayFor(item, "validTitles"_ns);
    // A list-items row without titles shows its values' descriptions.
    if (values != nullptr) row->setValues(values, titles != nullptr ? titles : values);
    return row;
}

NS::Array* specifiersFromPropertyList(const NS::Object* plist, id target) {
    NS::MutableArray* rows = NS::MutableArray::array();
    if (!isKind(objc::asId(plist), "NSDictionary"_cls)) return rows;
    NS::Array* items = arrayFor(objc::cast<NS::Dictionary>(const_cast<NS::Object*>(plist)), "items"_ns);
    if (items == nullptr) return rows;
    for (NSUInteger i = 0, n = items->count(); i < n; ++i) {
        id item = items->objectAtIndex(i);
        if (!isKind(item, "NSDictionary"_cls)) continue;
        rows->addObject(specifierFromDictionary(objc::cast<NS::Dictionary>(item), target));
    }
    return rows;
}

NS::Array* specifiersFromHostFile(const std::string& hostPath, id target) {
    return specifiersFromPropertyList(NS::propertyListFromHostFile(hostPath), target);
}

}  // namespace PS
