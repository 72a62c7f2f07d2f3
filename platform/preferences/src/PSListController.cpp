#include <Preferences/PSListController.h>

#include <Preferences/SpecifierList.h>
#include <Preferences/TestSupport.h>

#include <CoreFoundation/CoreFoundation.h>
#include <ObjCBridge/ObjCBridge.h>

#include <dlfcn.h>

#include <filesystem>

#include "ListTable.h"

namespace PS {
namespace {

struct ListState {
    Ref<NS::String> bundlePath;
    std::size_t reloads = 0;
    table::Model table;
};

ListState& stateOf(id self) { return objc::state<ListState>(self); }

bool isString(id object) { return object != nil && objc::send<BOOL>(object, "isKindOfClass:"_sel, "NSString"_cls); }

NS::String* stringProperty(Specifier* row, const char* key) {
    id value = row != nullptr ? row->propertyForKey(NS::String::stringWithUTF8String(key)) : nil;
    return isString(value) ? objc::cast<NS::String>(value) : nullptr;
}

// A domain names one file in the preferences folder; one that could reach
// outside it names none, and the row keeps only its "default".
NS::String* domainOf(Specifier* row) {
    NS::String* domain = stringProperty(row, "defaults");
    if (domain == nullptr || domain->length() == 0) return nullptr;
    if (domain->rangeOfString("/"_ns).location != static_cast<NSUInteger>(NSNotFound) ||
        domain->rangeOfString(".."_ns).location != static_cast<NSUInteger>(NSNotFound))
        return nullptr;
    return domain;
}

void dealloc(id self, SEL _cmd) {
    table::detach(self);
    id& rows = ListController::specifiersIvar(self);
    objc::release(rows);
    rows = nil;
    objc::sendSuper<void>(self, "PSListController"_cls, _cmd);
}

NS::Array* specifiers(id self, SEL) { return objc::cast<NS::Array>(ListController::specifiersIvar(self)); }

// The folder of the shared object that defines the controller's class: the
// bundle a pane came from, as the phone finds it for a class.
NS::String* bundlePath(id self, SEL) {
    ListState& s = stateOf(self);
    if (!s.bundlePath) {
        IMP imp = class_getMethodImplementation(object_getClass(self), "specifiers"_sel);
        Dl_info info{};
        if (imp != nullptr && dladdr(reinterpret_cast<void*>(imp), &info) != 0 && info.dli_fname != nullptr) {
            std::string folder = std::filesystem::path(info.dli_fname).parent_path().string();
            s.bundlePath = NS::String::stringWithUTF8String(folder.c_str());
        }
    }
    return s.bundlePath;
}
void setBundlePath(id self, SEL, NS::String* path) {
    stateOf(self).bundlePath = path != nullptr ? objc::adopt(path->copy()) : Ref<NS::String>();
}

NS::Array* loadSpecifiersFromPlistName(id self, SEL, NS::String* name, id target) {
    NS::String* folder = objc::send<NS::String*>(self, "bundlePath"_sel);
    if (folder == nullptr || name == nullptr) return NS::Array::array();
    std::string path = std::string(folder->UTF8String()) + "/" + name->UTF8String() + ".plist";
    return specifiersFromHostFile(path, target);
}

id readPreferenceValue(id, SEL, Specifier* row) {
    if (row == nullptr) return nil;
    id fallback = row->propertyForKey("default"_ns);
    NS::String* key = stringProperty(row, "key");
    NS::String* domain = domainOf(row);
    if (key == nullptr || domain == nullptr) return fallback;
    CFPropertyListRef stored =
        CFPreferencesCopyAppValue(reinterpret_cast<CFStringRef>(key), reinterpret_cast<CFStringRef>(domain));
    if (stored == nullptr) return fallback;
    return objc::autorelease(objc::asId(stored));
}

void setPreferenceValue(id, SEL, id value, Specifier* row) {
    NS::String* key = stringProperty(row, "key");
    NS::String* domain = domainOf(row);
    if (key == nullptr || domain == nullptr) return;
    CFPreferencesSetAppValue(reinterpret_cast<CFStringRef>(key), value, reinterpret_cast<CFStringRef>(domain));
    CFPreferencesAppSynchronize(reinterpret_cast<CFStringRef>(domain));
    if (NS::String* note = stringProperty(row, "PostNotification"); note != nullptr && note->length() > 0)
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                             reinterpret_cast<CFStringRef>(note), nullptr, nullptr, true);
}

void reload(id self, SEL) {
    ++stateOf(self).reloads;
    table::rebuild(self);
}

// Panes that rebuild their rows themselves before they appear do not call
// this, so the rows are placed once per appearance either way.
void viewWillAppear(id self, SEL _cmd, BOOL animated) {
    if (class_respondsToSelector("UIViewController"_cls, _cmd))
        objc::sendSuper<void>(self, "PSListController"_cls, _cmd, animated);
    table::rebuild(self);
}

}  // namespace

table::Model& table::modelOf(id self) { return stateOf(self).table; }

id& ListController::specifiersIvar(id self) {
    static const std::ptrdiff_t offset = [] {
        Ivar ivar = class_getInstanceVariable(objc::cls("PSListController"), "_specifiers");
        if (ivar == nullptr) objc::fatal("PSListController has no _specifiers");
        return ivar_getOffset(ivar);
    }();
    return *reinterpret_cast<id*>(reinterpret_cast<char*>(self) + offset);
}

std::size_t reloadCount(id listController) { return stateOf(listController).reloads; }

void registerListController() {
    static const bool registered = [] {
        objc::ClassBuilder builder("PSListController", objc::cls("UIViewController"));
        builder.ivar("_specifiers", sizeof(id), alignof(id), "@")
            .state<ListState>()
            .method("dealloc", &dealloc)
            .method("specifiers", &specifiers)
            .method("bundlePath", &bundlePath)
            .method("setBundlePath:", &setBundlePath)
            .method("loadSpecifiersFromPlistName:target:", &loadSpecifiersFromPlistName)
            .method("readPreferenceValue:", &readPreferenceValue)
            .method("setPreferenceValue:specifier:", &setPreferenceValue)
            .method("reload", &reload)
            .method("viewWillAppear:", &viewWillAppear);
        table::addMethods(builder);
        builder.build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
