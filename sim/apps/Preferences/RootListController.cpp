#include "RootListController.h"

#include "SettingsBundles.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSListController.h>
#include <Preferences/PSSpecifier.h>
#include <UIKit/UINavigationController.h>

#include <cstdio>
#include <string>

namespace settings {
namespace {

std::string& failure() {
    static std::string text;
    return text;
}

std::string stringProperty(PS::Specifier* row, const char* key) {
    id value = row->propertyForKey(NS::String::stringWithUTF8String(key));
    if (value == nil || !objc::send<BOOL>(value, "isKindOfClass:"_sel, "NSString"_cls)) return "";
    return objc::cast<NS::String>(value)->UTF8String();
}

NS::Array* specifiers(id self, SEL) {
    id& rows = PS::ListController::specifiersIvar(self);
    if (rows == nil) {
        NS::MutableArray* all = NS::MutableArray::array();
        all->addObject(PS::Specifier::preferenceSpecifierNamed(""_ns, self, PS::PSGroupCell));
        NS::Array* entries = installedEntries(self);
        for (NSUInteger i = 0; i < entries->count(); ++i) {
            auto* entry = objc::cast<PS::Specifier>(entries->objectAtIndex(i));
            entry->setTarget(self);
            entry->setButtonAction("openEntry:"_sel);
            all->addObject(entry);
        }
        if (entries->count() == 0) {
            all->addObject(PS::Specifier::preferenceSpecifierNamed(
                "No settings bundles installed (run hbsim install)"_ns, self, PS::PSStaticTextCell));
        }
        rows = objc::retain(all);
    }
    return objc::cast<NS::Array>(rows);
}

void openEntry(id self, SEL, PS::Specifier* row) {
    if (row == nullptr) return;
    const std::string label = stringProperty(row, "label");
    const std::string bundle = stringProperty(row, "bundle");
    std::string folder;
    Class cls = loadBundleClass(bundle, &folder);
    if (cls == Nil) {
        failure() = "the settings bundle \"" + bundle + "\" of \"" + label +
                    "\" cannot be loaded: its folder /Library/PreferenceBundles/" + bundle +
                    ".bundle, its Info.plist, its executable or its principal class is missing";
        std::fprintf(stderr, "Settings: %s\n", failure().c_str());
        return;
    }
    failure().clear();
    id pane = objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel);
    if (pane == nil) return;
    if (objc::respondsTo(pane, "setBundlePath:"_sel))
        objc::send<void>(pane, "setBundlePath:"_sel, NS::String::stringWithUTF8String(folder.c_str()));
    if (objc::respondsTo(pane, "setSpecifier:"_sel)) objc::send<void>(pane, "setSpecifier:"_sel, row);
    objc::send<void>(pane, "setTitle:"_sel, NS::String::stringWithUTF8String(label.c_str()));
    auto* navigation = objc::send<UI::NavigationController*>(self, "navigationController"_sel);
    if (navigation != nullptr) navigation->pushViewController(objc::cast<UI::ViewController>(pane), YES);
    objc::release(pane);
}

}  // namespace

void registerRootListController() {
    static const bool registered = [] {
        objc::ClassBuilder(kRootControllerClass, objc_getClass("PSListController"))
            .method("specifiers", &specifiers)
            .method("openEntry:", &openEntry)
            .build();
        return true;
    }();
    (void)registered;
}

const std::string& lastOpenFailure() { return failure(); }

}  // namespace settings
