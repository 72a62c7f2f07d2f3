// The file methods of NSDictionary and NSArray: reading a property list from
// a phone path, and writing one back as XML.
#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/PropertyList.h>

#include "FoundationInternal.h"

namespace NS::internal {
namespace {

// The property list at a phone path, if it is of the wanted kind.
id readKind(id path, bool (*isKind)(id)) {
    auto host = hostPathOf(path);
    if (!host) return nil;
    id plist = objc::asId(propertyListFromHostFile(*host));
    return isKind(plist) ? plist : nil;
}

// The parsed containers are immutable; a mutable class gets a mutable top
// level holding the same (immutable) contents.
id asClass(Class cls, id parsed, Class immutableClass) {
    if (parsed == nil || cls == immutableClass) return parsed;
    id object = objc::send<id>(objc::send<id>(cls, "alloc"_sel),
                               isDictionary(parsed) ? "initWithDictionary:"_sel : "initWithArray:"_sel, parsed);
    return objc::autorelease(object);
}

id dictionaryWithContentsOfFile(Class self, SEL, id path) {
    return asClass(self, readKind(path, &isDictionary), dictionaryClass);
}

id arrayWithContentsOfFile(Class self, SEL, id path) { return asClass(self, readKind(path, &isArray), arrayClass); }

// An init that fails gives nil and releases the receiver, as every init does.
id dictionaryInitWithContentsOfFile(id self, SEL, id path) {
    id parsed = readKind(path, &isDictionary);
    if (parsed == nil) {
        objc::release(self);
        return nil;
    }
    // The parsed dictionary is ours alone (its one reference is in the
    // autorelease pool), so its entries can move instead of being copied.
    Class cls = object_getClass(self);
    if ((cls == dictionaryClass || cls == mutableDictionaryClass) &&
        objc::send<NSUInteger>(parsed, "retainCount"_sel) == 1) {
        self = objc::send<id>(self, "init"_sel);
        moveDictionaryEntries(parsed, self);
        return self;
    }
    return objc::send<id>(self, "initWithDictionary:"_sel, parsed);
}

id arrayInitWithContentsOfFile(id self, SEL, id path) {
    id parsed = readKind(path, &isArray);
    if (parsed == nil) {
        objc::release(self);
        return nil;
    }
    return objc::send<id>(self, "initWithArray:"_sel, parsed);
}

BOOL writeToFile(id self, SEL, id path, BOOL atomically) {
    auto host = hostPathOf(path);
    if (!host) return NO;
    return writePropertyListToHostFile(objc::cast<Object>(self), *host, atomically) ? YES : NO;
}

}  // namespace

void registerPropertyListMethods() {
    objc::ClassExtender(dictionaryClass)
        .classMethod("dictionaryWithContentsOfFile:", &dictionaryWithContentsOfFile)
        .method("initWithContentsOfFile:", &dictionaryInitWithContentsOfFile)
        .method("writeToFile:atomically:", &writeToFile);
    objc::ClassExtender(arrayClass)
        .classMethod("arrayWithContentsOfFile:", &arrayWithContentsOfFile)
        .method("initWithContentsOfFile:", &arrayInitWithContentsOfFile)
        .method("writeToFile:atomically:", &writeToFile);
}

}  // namespace NS::internal
