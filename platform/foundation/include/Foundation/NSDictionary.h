// NSDictionary and NSMutableDictionary: maps from keys to objects. Keys are
// compared by isEqual: and hash (strings and numbers by value) and are copied
// when stored, so a mutable string used as a key cannot change under the
// dictionary. Values are retained. nil cannot be stored as a key or a value.
//
// `allKeys` and `allValues` list the entries in the order they were first
// stored.
//
//     NS::Dictionary* pref = NS::Dictionary::dictionaryWithContentsOfFile(path);
//     id value = pref->objectForKey("blueText"_ns);
#pragma once

#include <Foundation/NSObject.h>

#include <initializer_list>

namespace NS {

class Array;
class String;
class MutableDictionary;

class Dictionary : public Object {
public:
    static Dictionary* alloc() { return objc::send<Dictionary*>("NSDictionary"_cls, "alloc"_sel); }
    static Dictionary* dictionary() { return objc::send<Dictionary*>("NSDictionary"_cls, "dictionary"_sel); }
    static Dictionary* dictionaryWithDictionary(const Dictionary* other) {
        return objc::send<Dictionary*>("NSDictionary"_cls, "dictionaryWithDictionary:"_sel, other);
    }
    static Dictionary* dictionaryWithObject(objc::AnyObject object, objc::AnyObject key) {
        return objc::send<Dictionary*>("NSDictionary"_cls, "dictionaryWithObject:forKey:"_sel, object.get(), key.get());
    }
    static Dictionary* dictionaryWithObjects(const id* objects, const id* keys, NSUInteger count) {
        return objc::send<Dictionary*>("NSDictionary"_cls, "dictionaryWithObjects:forKeys:count:"_sel, objects, keys,
                                       count);
    }
    // The C++ form: objects and keys pairwise; both lists must be of one length.
    static Dictionary* dictionaryWithObjects(std::initializer_list<const objc::Object*> objects,
                                             std::initializer_list<const objc::Object*> keys) {
        if (objects.size() != keys.size())
            objc::fatal("dictionaryWithObjects: %zu objects for %zu keys", objects.size(), keys.size());
        return dictionaryWithObjects(detail::idList(objects), detail::idList(keys), objects.size());
    }
    // A property list file (XML or binary) whose root is a dictionary, read
    // from a phone path; nil when the file is missing, unreadable, corrupt or
    // holds something else.
    static Dictionary* dictionaryWithContentsOfFile(const String* path) {
        return objc::send<Dictionary*>("NSDictionary"_cls, "dictionaryWithContentsOfFile:"_sel, path);
    }

    Dictionary* init() { return objc::send<Dictionary*>(this, "init"_sel); }
    Dictionary* initWithDictionary(const Dictionary* other) {
        return objc::send<Dictionary*>(this, "initWithDictionary:"_sel, other);
    }
    Dictionary* initWithObjects(const id* objects, const id* keys, NSUInteger count) {
        return objc::send<Dictionary*>(this, "initWithObjects:forKeys:count:"_sel, objects, keys, count);
    }
    // Gives nil (and releases the receiver) when the file cannot be read as
    // a dictionary.
    Dictionary* initWithContentsOfFile(const String* path) {
        return objc::send<Dictionary*>(this, "initWithContentsOfFile:"_sel, path);
    }

    NSUInteger count() const { return objc::send<NSUInteger>(this, "count"_sel); }
    id objectForKey(objc::AnyObject key) const { return objc::send<id>(this, "objectForKey:"_sel, key.get()); }
    Array* allKeys() const { return objc::send<Array*>(this, "allKeys"_sel); }
    Array* allValues() const { return objc::send<Array*>(this, "allValues"_sel); }
    BOOL isEqualToDictionary(const Dictionary* other) const {
        return objc::send<BOOL>(this, "isEqualToDictionary:"_sel, other);
    }
    // Writes an XML property list; with `atomically` through a temporary file
    // in the same folder and a rename, so a reader sees the old file or the
    // new one, never a part. NO when an object cannot go into a property list
    // or the file cannot be written.
    BOOL writeToFile(const String* path, BOOL atomically) const {
        return objc::send<BOOL>(this, "writeToFile:atomically:"_sel, path, atomically);
    }

    Dictionary* copy() const { return objc::send<Dictionary*>(this, "copy"_sel); }
    MutableDictionary* mutableCopy() const { return objc::send<MutableDictionary*>(this, "mutableCopy"_sel); }
};

class MutableDictionary : public Dictionary {
public:
    static MutableDictionary* alloc() { return objc::send<MutableDictionary*>("NSMutableDictionary"_cls, "alloc"_sel); }
    static MutableDictionary* dictionary() {
        return objc::send<MutableDictionary*>("NSMutableDictionary"_cls, "dictionary"_sel);
    }
    static MutableDictionary* dictionaryWithCapacity(NSUInteger capacity) {
        return objc::send<MutableDictionary*>("NSMutableDictionary"_cls, "dictionaryWithCapacity:"_sel, capacity);
    }
    static MutableDictionary* dictionaryWithDictionary(const Dictionary* other) {
        return objc::send<MutableDictionary*>("NSMutableDictionary"_cls, "dictionaryWithDictionary:"_sel, other);
    }
    // The top level is mutable; the containers inside it are not.
    static MutableDictionary* dictionaryWithContentsOfFile(const String* path) {
        return objc::send<MutableDictionary*>("NSMutableDictionary"_cls, "dictionaryWithContentsOfFile:"_sel, path);
    }

    void setObject(objc::AnyObject object, objc::AnyObject key) {
        objc::send<void>(this, "setObject:forKey:"_sel, object.get(), key.get());
    }
    void removeObjectForKey(objc::AnyObject key) { objc::send<void>(this, "removeObjectForKey:"_sel, key.get()); }
    void removeAllObjects() { objc::send<void>(this, "removeAllObjects"_sel); }
    void addEntriesFromDictionary(const Dictionary* other) {
        objc::send<void>(this, "addEntriesFromDictionary:"_sel, other);
    }
};

}  // namespace NS
