// NSArray and NSMutableArray over a vector of retained objects.
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <string>
#include <vector>

namespace NS::internal {

Class arrayClass = Nil;
Class mutableArrayClass = Nil;

namespace {

struct ArrayState {
    std::vector<id> items;
    ~ArrayState() {
        for (id item : items) objc::release(item);
    }
};

ArrayState& st(id self) { return objc::state<ArrayState>(self); }

bool isMutable(id self) {
    for (Class c = object_getClass(self); c != Nil; c = class_getSuperclass(c)) {
        if (c == mutableArrayClass) return true;
    }
    return false;
}

id checkedObject(id self, id object, const char* method) {
    if (object == nil) objc::fatal("-[%s %s]: object cannot be nil", object_getClassName(self), method);
    return object;
}

void checkIndex(id self, NSUInteger index, NSUInteger limit, const char* method) {
    if (index >= limit) {
        objc::fatal("-[%s %s]: index %lu beyond bounds (count %lu)", object_getClassName(self), method, index,
                    static_cast<NSUInteger>(st(self).items.size()));
    }
}

void fill(id self, const id* objects, NSUInteger count, const char* method) {
    auto& items = st(self).items;
    items.reserve(count);
    for (NSUInteger i = 0; i < count; ++i) items.push_back(objc::retain(checkedObject(self, objects[i], method)));
}

id make(Class cls, const id* objects, NSUInteger count, const char* method) {
    id object = objc::send<id>(cls, "alloc"_sel);
    fill(object, objects, count, method);
    return objc::autorelease(object);
}

const std::vector<id>& itemsOf(id other, const char* method) {
    static const std::vector<id> none;
    if (other == nil) return none;
    if (!isArray(other)) objc::fatal("%s: argument is a %s, not an array", method, object_getClassName(other));
    return st(other).items;
}

// --- creating ---------------------------------------------------------------

id init(id self, SEL) { return self; }

id initWithObjects(id self, SEL, const id* objects, NSUInteger count) {
    fill(self, objects, count, "initWithObjects:count:");
    return self;
}

id initWithArray(id self, SEL, id other) {
    const auto& items = itemsOf(other, "initWithArray:");
    fill(self, items.data(), items.size(), "initWithArray:");
    return self;
}

id classArray(Class self, SEL) { return make(self, nullptr, 0, "array"); }
id classArrayWithObject(Class self, SEL, id object) { return make(self, &object, 1, "arrayWithObject:"); }
id classArrayWithObjects(Class self, SEL, const id* objects, NSUInteger count) {
    return make(self, objects, count, "arrayWithObjects:count:");
}
id classArrayWithArray(Class self, SEL, id other) {
    const auto& items = itemsOf(other, "arrayWithArray:");
    return make(self, items.data(), items.size(), "arrayWithArray:");
}
id classArrayWithCapacity(Class self, SEL, NSUInteger capacity) {
    id array = make(self, nullptr, 0, "arrayWithCapacity:");
    st(array).items.reserve(std::min<NSUInteger>(capacity, 1 << 16));
    return array;
}

// --- reading ----------------------------------------------------------------

NSUInteger count(id self, SEL) { return st(self).items.size(); }

id objectAtIndex(id self, SEL, NSUInteger index) {
    checkIndex(self, index, st(self).items.size(), "objectAtIndex:");
    return st(self).items[index];
}

id firstObject(id self, SEL) { return st(self).items.empty() ? nil : st(self).items.front(); }
id lastObject(id self, SEL) { return st(self).items.empty() ? nil : st(self).items.back(); }

NSUInteger indexOfObject(id self, SEL, id object) {
    if (object == nil) return NSNotFound;
    const auto& items = st(self).items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == object || objc::send<BOOL>(items[i], "isEqual:"_sel, object)) return i;
    }
    return NSNotFound;
}

BOOL containsObject(id self, SEL s, id object) {
    return indexOfObject(self, s, object) != static_cast<NSUInteger>(NSNotFound) ? YES : NO;
}

BOOL isEqualToArray(id self, SEL, id other) {
    if (self == other) return YES;
    if (!isArray(other)) return NO;
    const auto& a = st(self).items;
    const auto& b = st(other).items;
    if (a.size() != b.size()) return NO;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !objc::send<BOOL>(a[i], "isEqual:"_sel, b[i])) return NO;
    }
    return YES;
}

BOOL isEqual(id self, SEL s, id other) { return isEqualToArray(self, s, other); }
NSUInteger hash(id self, SEL) { return st(self).items.size(); }

id arrayByAddingObject(id self, SEL, id object) {
    std::vector<id> items = st(self).items;
    items.push_back(checkedObject(self, object, "arrayByAddingObject:"));
    return make(arrayClass, items.data(), items.size(), "arrayByAddingObject:");
}

id componentsJoinedByString(id self, SEL, id separator) {
    std::u16string joined;
    std::u16string sep = isString(separator) ? stringText(separator) : std::u16string();
    bool first = true;
    for (id item : st(self).items) {
        if (!first) joined += sep;
        first = false;
        id text = objc::send<id>(item, "description"_sel);
        if (isString(text)) joined += stringText(text);
    }
    return objc::autorelease(newString(std::move(joined)));
}

id description(id self, SEL) { return objc::autorelease(newStringFromUTF8Lossy(describeNested(self, 0))); }

id copyWithZone(id self, SEL, void*) {
    if (!isMutable(self)) return objc::retain(self);
    id copy = objc::send<id>(arrayClass, "alloc"_sel);
    fill(copy, st(self).items.data(), st(self).items.size(), "copy");
    return copy;
}

id mutableCopyWithZone(id self, SEL, void*) {
    id copy = objc::send<id>(mutableArrayClass, "alloc"_sel);
    fill(copy, st(self).items.data(), st(self).items.size(), "mutableCopy");
    return copy;
}

// --- changing (NSMutableArray) ------------------------------------------------

void addObject(id self, SEL, id object) {
    st(self).items.push_back(objc::retain(checkedObject(self, object, "addObject:")));
}

void insertObject(id self, SEL, id object, NSUInteger index) {
    checkIndex(self, index, st(self).items.size() + 1, "insertObject:atIndex:");
    auto& items = st(self).items;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index),
                 objc::retain(checkedObject(self, object, "insertObject:atIndex:")));
}

void replaceObjectAtIndex(id self, SEL, NSUInteger index, id object) {
    checkIndex(self, index, st(self).items.size(), "replaceObjectAtIndex:withObject:");
    id old = st(self).items[index];
    st(self).items[index] = objc::retain(checkedObject(self, object, "replaceObjectAtIndex:withObject:"));
    objc::release(old);
}

void removeObjectAtIndex(id self, SEL, NSUInteger index) {
    checkIndex(self, index, st(self).items.size(), "removeObjectAtIndex:");
    auto& items = st(self).items;
    id old = items[index];
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    objc::release(old);
}

void removeLastObject(id self, SEL s) {
    if (!st(self).items.empty()) removeObjectAtIndex(self, s, st(self).items.size() - 1);
}

void removeAllObjects(id self, SEL) {
    std::vector<id> old;
    old.swap(st(self).items);
    for (id item : old) objc::release(item);
}

void addObjectsFromArray(id self, SEL, id other) {
    // Copy first: the argument may be the receiver itself.
    std::vector<id> items = itemsOf(other, "addObjectsFromArray:");
    for (id item : items) st(self).items.push_back(objc::retain(item));
}

}  // namespace

bool isArray(id object) {
    if (object == nil) return false;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == arrayClass) return true;
    }
    return false;
}

const std::vector<id>& arrayItems(id array) { return st(array).items; }

id newArrayAdopting(Class cls, std::vector<id> items) {
    id object = objc::send<id>(cls, "alloc"_sel);
    st(object).items = std::move(items);
    return object;
}

void registerArray() {
    arrayClass = objc::ClassBuilder("NSArray", "NSObject"_cls)
                     .state<ArrayState>("_items")
                     .classMethod("array", &classArray)
                     .classMethod("arrayWithObject:", &classArrayWithObject)
                     .classMethod("arrayWithObjects:count:", &classArrayWithObjects)
                     .classMethod("arrayWithArray:", &classArrayWithArray)
                     .method("init", &init)
                     .method("initWithObjects:count:", &initWithObjects)
                     .method("initWithArray:", &initWithArray)
                     .method("count", &count)
                     .method("objectAtIndex:", &objectAtIndex)
                     .method("firstObject", &firstObject)
                     .method("lastObject", &lastObject)
                     .method("indexOfObject:", &indexOfObject)
                     .method("containsObject:", &containsObject)
                     .method("isEqualToArray:", &isEqualToArray)
                     .method("isEqual:", &isEqual)
                     .method("hash", &hash)
                     .method("arrayByAddingObject:", &arrayByAddingObject)
                     .method("componentsJoinedByString:", &componentsJoinedByString)
                     .method("description", &description)
                     .method("copyWithZone:", &copyWithZone)
                     .method("mutableCopyWithZone:", &mutableCopyWithZone)
                     .build();
    mutableArrayClass = objc::ClassBuilder("NSMutableArray", arrayClass)
                            .classMethod("arrayWithCapacity:", &classArrayWithCapacity)
                            .method("addObject:", &addObject)
                            .method("insertObject:atIndex:", &insertObject)
                            .method("replaceObjectAtIndex:withObject:", &replaceObjectAtIndex)
                            .method("removeObjectAtIndex:", &removeObjectAtIndex)
                            .method("removeLastObject", &removeLastObject)
                            .method("removeAllObjects", &removeAllObjects)
                            .method("addObjectsFromArray:", &addObjectsFromArray)
                            .build();
}

}  // namespace NS::internal
