// Preferences domains. Each process keeps, per domain file, the values as
// last read with its own unsynchronised changes applied on top, and the list
// of those changes. Synchronising merges the changes into the file as it is
// on disk at that moment (so changes other processes made to other keys
// survive), writes it atomically and reads it back.
#include <CoreFoundation/CFPreferences.h>

#include <Device/DevicePath.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/PropertyList.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace {

struct Change {
    Ref<NS::String> key;
    Ref<NS::Object> value;  // null: the key is removed
};

struct Domain {
    std::string phonePath;
    Ref<NS::MutableDictionary> values;
    std::map<std::string, Change> pending;
};

struct Store {
    std::mutex lock;
    // By host path of the domain file: the same id in another device is
    // another domain.
    std::map<std::string, Domain> domains;
};

Store& store() {
    static Store* s = new Store;  // values may outlive static destruction
    return *s;
}

std::string utf8(CFStringRef s) {
    const char* text = objc::send<const char*>(s, "UTF8String"_sel);
    return text ? std::string(text) : std::string();
}

// The domain file of an application id, as a phone path; nothing for an id
// that would name a file elsewhere.
std::optional<std::string> domainPath(CFStringRef applicationID) {
    if (applicationID == nullptr) return std::nullopt;
    std::string id = utf8(applicationID);
    if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos ||
        id.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return "/var/mobile/Library/Preferences/" + id + ".plist";
}

Ref<NS::MutableDictionary> readDomainFile(const std::string& phonePath) {
    NS::Object* plist = NS::propertyListFromFile(phonePath);
    if (plist != nullptr && plist->isKindOfClass("NSDictionary"_cls)) {
        return objc::adopt(objc::cast<NS::Dictionary>(plist)->mutableCopy());
    }
    return NS::MutableDictionary::dictionary();
}

void apply(NS::MutableDictionary* values, const Change& change) {
    if (change.value) {
        values->setObject(change.value.get(), change.key.get());
    } else {
        values->removeObjectForKey(change.key.get());
    }
}

// True when every change is already in the file's values, each value in the
// very form a write would give it (compared as property list text, so that a
// Boolean and the integer 1 stay apart).
bool fileHoldsChanges(NS::Dictionary* onDisk, const std::map<std::string, Change>& pending) {
    for (const auto& [name, change] : pending) {
        id stored = onDisk->objectForKey(change.key.get());
        if (!change.value) {
            if (stored != nil) return false;
            continue;
        }
        if (stored == nil || !objc::cast<NS::Object>(stored)->isEqual(change.value.get())) return false;
        if (NS::xmlPropertyList(objc::cast<NS::Object>(stored)) != NS::xmlPropertyList(change.value.get()))
            return false;
    }
    return true;
}

// The domain of the id, read from its file the first time; nullptr for an id
// that names no domain or when no device is set.
Domain* domainFor(CFStringRef applicationID) {
    auto phonePath = domainPath(applicationID);
    if (!phonePath) return nullptr;
    auto hostPath = device::hostPath(*phonePath);
    if (!hostPath) return nullptr;
    Domain& d = store().domains[*hostPath];
    if (!d.values) {
        d.phonePath = *phonePath;
        d.values = readDomainFile(*phonePath);
    }
    return &d;
}

// An immutable copy, so that a value changed by the caller afterwards does
// not change the domain behind its back.
Ref<NS::Object> copyOf(CFPropertyListRef value) {
    id object = objc::asId(value);
    if (objc::respondsTo(object, "copyWithZone:"_sel)) {
        return objc::adopt(objc::send<NS::Object*>(object, "copy"_sel));
    }
    return objc::cast<NS::Object>(object);
}

}  // namespace

extern "C" {

void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID) {
    if (key == nullptr) return;
    objc::AutoreleasePool pool;
    Ref<NS::Object> copy;
    if (value != nullptr) {
        copy = copyOf(value);
        // A value no property list can hold would make every later write of
        // the domain fail: it is not taken.
        if (NS::xmlPropertyList(copy.get()).empty()) return;
    }
    std::lock_guard guard(store().lock);
    Domain* d = domainFor(applicationID);
    if (d == nullptr) return;
    Change change{objc::adopt(objc::send<NS::String*>(key, "copy"_sel)), copy};
    apply(d->values.get(), change);
    d->pending[utf8(key)] = std::move(change);
}

CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID) {
    if (key == nullptr) return nullptr;
    objc::AutoreleasePool pool;
    std::lock_guard guard(store().lock);
    Domain* d = domainFor(applicationID);
    if (d == nullptr) return nullptr;
    id value = d->values->objectForKey(objc::asId(key));
    return value == nil ? nullptr : objc::retain(value);
}

Boolean CFPreferencesAppSynchronize(CFStringRef applicationID) {
    objc::AutoreleasePool pool;
    std::lock_guard guard(store().lock);
    Domain* d = domainFor(applicationID);
    if (d == nullptr) return false;
    if (!d->pending.empty()) {
        Ref<NS::MutableDictionary> merged = readDomainFile(d->phonePath);
        // A file that already holds every change (the settings bundle writes
        // the file itself, then synchronises the same values) is left alone:
        // rewriting it would cost a flush to the disk for nothing.
        if (fileHoldsChanges(merged.get(), d->pending)) {
            d->pending.clear();
            d->values = merged;
            return true;
        }
        for (const auto& [name, change] : d->pending) apply(merged.get(), change);
        if (!NS::writePropertyList(merged.get(), d->phonePath)) return false;
        d->pending.clear();
    }
    d->values = readDomainFile(d->phonePath);
    return true;
}

}  // extern "C"
