// NSArray and NSMutableArray: ordered lists of objects, each retained by the
// array. nil cannot be stored (use NS::Null); an index past the end is a
// programmer mistake and aborts, as on the phone.
//
//     NS::Array* a = NS::Array::arrayWithObjects({"a"_ns, "b"_ns});
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

#include <initializer_list>

namespace NS {

class String;
class MutableArray;

class Array : public Object {
public:
    static Array* alloc() { return objc::send<Array*>("NSArray"_cls, "alloc"_sel); }
    static Array* array() { return objc::send<Array*>("NSArray"_cls, "array"_sel); }
    static Array* arrayWithObject(objc::AnyObject object) {
        return objc::send<Array*>("NSArray"_cls, "arrayWithObject:"_sel, object.get());
    }
    static Array* arrayWithObjects(const id* objects, NSUInteger count) {
        return objc::send<Array*>("NSArray"_cls, "arrayWithObjects:count:"_sel, objects, count);
    }
    static Array* arrayWithObjects(std::initializer_list<const objc::Object*> objects) {
        return arrayWithObjects(detail::idList(objects), objects.size());
    }
    static Array* arrayWithArray(const Array* other) {
        return objc::send<Array*>("NSArray"_cls, "arrayWithArray:"_sel, other);
    }
    // A property list file whose root is an array (XML or binary), or nil.
    static Array* arrayWithContentsOfFile(const String* path) {
        return objc::send<Array*>("NSArray"_cls, "arrayWithContentsOfFile:"_sel, path);
    }

    Array* init() { return objc::send<Array*>(this, "init"_sel); }
    Array* initWithObjects(const id* objects, NSUInteger count) {
        return objc::send<Array*>(this, "initWithObjects:count:"_sel, objects, count);
    }
    Array* initWithArray(const Array* other) { return objc::send<Array*>(this, "initWithArray:"_sel, other); }
    Array* initWithContentsOfFile(const String* path) {
        return objc::send<Array*>(this, "initWithContentsOfFile:"_sel, path);
    }

    NSUInteger count() const { return objc::send<NSUInteger>(this, "count"_sel); }
    id objectAtIndex(NSUInteger index) const { return objc::send<id>(this, "objectAtIndex:"_sel, index); }
    id firstObject() const { return objc::send<id>(this, "firstObject"_sel); }
    id lastObject() const { return objc::send<id>(this, "lastObject"_sel); }
    BOOL containsObject(objc::AnyObject object) const {
        return objc::send<BOOL>(this, "containsObject:"_sel, object.get());
    }
    // By isEqual:; NSNotFound when absent.
    NSUInteger indexOfObject(objc::AnyObject object) const {
        return objc::send<NSUInteger>(this, "indexOfObject:"_sel, object.get());
    }
    BOOL isEqualToArray(const Array* other) const { return objc::send<BOOL>(this, "isEqualToArray:"_sel, other); }
    Array* arrayByAddingObject(objc::AnyObject object) const {
        return objc::send<Array*>(this, "arrayByAddingObject:"_sel, object.get());
    }
    String* componentsJoinedByString(const String* separator) const {
        return objc::send<String*>(this, "componentsJoinedByString:"_sel, separator);
    }
    // Writes the array as an XML property list; NO when it holds an object
    // that a property list cannot, or the file cannot be written.
    BOOL writeToFile(const String* path, BOOL atomically) const {
        return objc::send<BOOL>(this, "writeToFile:atomically:"_sel, path, atomically);
    }

    Array* copy() const { return objc::send<Array*>(this, "copy"_sel); }
    MutableArray* mutableCopy() const { return objc::send<MutableArray*>(this, "mutableCopy"_sel); }
};

class MutableArray : public Array {
public:
    static MutableArray* alloc() { return objc::send<MutableArray*>("NSMutableArray"_cls, "alloc"_sel); }
    static MutableArray* array() { return objc::send<MutableArray*>("NSMutableArray"_cls, "array"_sel); }
    static MutableArray* arrayWithCapacity(NSUInteger capacity) {
        return objc::send<MutableArray*>("NSMutableArray"_cls, "arrayWithCapacity:"_sel, capacity);
    }
    static MutableArray* arrayWithArray(const Array* other) {
        return objc::send<MutableArray*>("NSMutableArray"_cls, "arrayWithArray:"_sel, other);
    }
    static MutableArray* arrayWithObjects(std::initializer_list<const objc::Object*> objects) {
        return objc::send<MutableArray*>("NSMutableArray"_cls, "arrayWithObjects:count:"_sel, detail::idList(objects),
                                         objects.size());
    }
    static MutableArray* arrayWithContentsOfFile(const String* path) {
        return objc::send<MutableArray*>("NSMutableArray"_cls, "arrayWithContentsOfFile:"_sel, path);
    }

    void addObject(objc::AnyObject object) { objc::send<void>(this, "addObject:"_sel, object.get()); }
    void insertObject(objc::AnyObject object, NSUInteger index) {
        objc::send<void>(this, "insertObject:atIndex:"_sel, object.get(), index);
    }
    void replaceObjectAtIndex(NSUInteger index, objc::AnyObject object) {
        objc::send<void>(this, "replaceObjectAtIndex:withObject:"_sel, index, object.get());
    }
    void removeObjectAtIndex(NSUInteger index) { objc::send<void>(this, "removeObjectAtIndex:"_sel, index); }
    void removeLastObject() { objc::send<void>(this, "removeLastObject"_sel); }
    void removeAllObjects() { objc::send<void>(this, "removeAllObjects"_sel); }
    void addObjectsFromArray(const Array* other) { objc::send<void>(this, "addObjectsFromArray:"_sel, other); }
};

}  // namespace NS
