// NSDictionary and NSMutableDictionary: entries kept in insertion order, found
// through an open-addressing index of their hashes. Keys of our own string
// class are hashed and compared without sending a message (their hash is
// cached in the string), which keeps a lookup to one send; any other key, or
// a subclass that may override isEqual:/hash, goes through the runtime.
#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <cstdint>
#include <vector>

namespace NS::internal {

Class dictionaryClass = Nil;
Class mutableDictionaryClass = Nil;

namespace {

struct Entry {
    id key;
    id value;
    std::uint64_t hash;
};

struct DictionaryState {
    std::vector<Entry> entries;
    // Slots hold an index into `entries`, or kEmpty; the size is a power of
    // two at least twice the number of entries.
    std::vector<std::uint32_t> slots;

    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    ~DictionaryState() { clear(); }

    void clear() {
        std::vector<Entry> old;
        old.swap(entries);
        slots.clear();
        for (Entry& e : old) {
            objc::release(e.key);
            objc::release(e.value);
        }
    }
};

DictionaryState& st(id self) { return objc::state<DictionaryState>(self); }

std::uint64_t keyHash(id key) {
    if (isPlainString(key)) return stringHash(key);
    return objc::send<NSUInteger>(key, "hash"_sel);
}

bool keysEqual(id stored, id key) {
    if (stored == key) return true;
    if (isPlainString(stored) && isPlainString(key)) return stringText(stored) == stringText(key);
    return objc::send<BOOL>(stored, "isEqual:"_sel, key);
}

void rebuildIndex(DictionaryState& d) {
    std::size_t size = 8;
    while (size < d.entries.size() * 2) size *= 2;
    d.slots.assign(size, DictionaryState::kEmpty);
    const std::size_t mask = size - 1;
    for (std::uint32_t i = 0; i < d.entries.size(); ++i) {
        std::size_t slot = d.entries[i].hash & mask;
        while (d.slots[slot] != DictionaryState::kEmpty) slot = (slot + 1) & mask;
        d.slots[slot] = i;
    }
}

// The index of the entry for `key`, or -1.
long find(const DictionaryState& d, id key, std::uint64_t hash) {
    if (d.slots.empty()) return -1;
    const std::size_t mask = d.slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        std::uint32_t index = d.slots[slot];
        if (index == DictionaryState::kEmpty) return -1;
        const Entry& e = d.entries[index];
        if (e.hash == hash && keysEqual(e.key, key)) return index;
    }
}

// Adds an entry whose key is not in the dictionary yet.
void append(DictionaryState& d, Entry entry) {
    d.entries.push_back(entry);
    if (d.slots.size() < d.entries.size() * 2) {
        rebuildIndex(d);
        return;
    }
    const std::size_t mask = d.slots.size() - 1;
    std::size_t slot = entry.hash & mask;
    while (d.slots[slot] != DictionaryState::kEmpty) slot = (slot + 1) & mask;
    d.slots[slot] = static_cast<std::uint32_t>(d.entries.size() - 1);
}

bool isMutable(id self) {
    for (Class c = object_getClass(self); c != Nil; c = class_getSuperclass(c)) {
        if (c == mutableDictionaryClass) return true;
    }
    return false;
}

// Stores a value under a copy of the key, replacing an existing entry.
void store(id self, id value, id key, const char* method) {
    if (key == nil) objc::fatal("-[%s %s]: key cannot be nil", object_getClassName(self), method);
    if (value == nil) objc::fatal("-[%s %s]: object cannot be nil", object_getClassName(self), method);
    DictionaryState& d = st(self);
    std::uint64_t hash = keyHash(key);
    long at = find(d, key, hash);
    if (at >= 0) {
        Entry& e = d.entries[static_cast<std::size_t>(at)];
        id old = e.value;
        e.value = objc::retain(value);
        objc::release(old);
        return;
    }
    id copied = objc::send<id>(key, "copy"_sel);
    if (copied == nil)
        objc::fatal("-[%s %s]: key of class %s cannot be copied", object_getClassName(self), method,
                    object_getClassName(key));
    append(d, Entry{copied, objc::retain(value), hash});
}

void fillFrom(id self, id other, const char* method) {
    if (other == nil) return;
    if (!isDictionary(other)) objc::fatal("%s: argument is a %s, not a dictionary", method, object_getClassName(other));
    // Copy first: the argument may be the receiver itself.
    std::vector<Entry> entries = st(other).entries;
    for (const Entry& e : entries) store(self, e.value, e.key, method);
}

void fillWith(id self, const id* objects, const id* keys, NSUInteger count, const char* method) {
    for (NSUInteger i = 0; i < count; ++i) store(self, objects[i], keys[i], method);
}

id alloc(Class cls) { return objc::send<id>(cls, "alloc"_sel); }

// --- creating ---------------------------------------------------------------

id init(id self, SEL) { return self; }

id initWithDictionary(id self, SEL, id other) {
    fillFrom(self, other, "initWithDictionary:");
    return self;
}

id initWithObjects(id self, SEL, const id* objects, const id* keys, NSUInteger count) {
    fillWith(self, objects, keys, count, "initWithObjects:forKeys:count:");
    return self;
}

id classDictionary(Class self, SEL) { return objc::autorelease(alloc(self)); }

id classDictionaryWithCapacity(Class self, SEL, NSUInteger) { return objc::autorelease(alloc(self)); }

id classDictionaryWithDictionary(Class self, SEL, id other) {
    id d = alloc(self);
    fillFrom(d, other, "dictionaryWithDictionary:");
    return objc::autorelease(d);
}

id classDictionaryWithObject(Class self, SEL, id object, id key) {
    id d = alloc(self);
    store(d, object, key, "dictionaryWithObject:forKey:");
    return objc::autorelease(d);
}

id classDictionaryWithObjects(Class self, SEL, const id* objects, const id* keys, NSUInteger count) {
    id d = alloc(self);
    fillWith(d, objects, keys, count, "dictionaryWithObjects:forKeys:count:");
    return objc::autorelease(d);
}

// --- reading ----------------------------------------------------------------

NSUInteger count(id self, SEL) { return st(self).entries.size(); }

id objectForKey(id self, SEL, id key) {
    if (key == nil) return nil;
    const DictionaryState& d = st(self);
    long at = find(d, key, keyHash(key));
    return at < 0 ? nil : d.entries[static_cast<std::size_t>(at)].value;
}

id allKeys(id self, SEL) {
    std::vector<id> keys;
    for (const Entry& e : st(self).entries) keys.push_back(objc::retain(e.key));
    return objc::autorelease(newArrayAdopting(arrayClass, std::move(keys)));
}

id allValues(id self, SEL) {
    std::vector<id> values;
    for (const Entry& e : st(self).entries) values.push_back(objc::retain(e.value));
    return objc::autorelease(newArrayAdopting(arrayClass, std::move(values)));
}

BOOL isEqualToDictionary(id self, SEL, id other) {
    if (self == other) return YES;
    if (!isDictionary(other)) return NO;
    const DictionaryState& a = st(self);
    const DictionaryState& b = st(other);
    if (a.entries.size() != b.entries.size()) return NO;
    for (const Entry& e : a.entries) {
        long at = find(b, e.key, e.hash);
        if (at < 0) return NO;
        id theirs = b.entries[static_cast<std::size_t>(at)].value;
        if (theirs != e.value && !objc::send<BOOL>(e.value, "isEqual:"_sel, theirs)) return NO;
    }
    return YES;
}

BOOL isEqual(id self, SEL s, id other) { return isEqualToDictionary(self, s, other); }
NSUInteger hash(id self, SEL) { return st(self).entries.size(); }

id description(id self, SEL) { return objc::autorelease(newStringFromUTF8Lossy(describeNested(self, 0))); }

id copyWithZone(id self, SEL, void*) {
    if (!isMutable(self)) return objc::retain(self);
    id copy = alloc(dictionaryClass);
    fillFrom(copy, self, "copy");
    return copy;
}

id mutableCopyWithZone(id self, SEL, void*) {
    id copy = alloc(mutableDictionaryClass);
    fillFrom(copy, self, "mutableCopy");
    return copy;
}

// --- changing (NSMutableDictionary) -------------------------------------------

void setObject(id self, SEL, id object, id key) { store(self, object, key, "setObject:forKey:"); }

void removeObjectForKey(id self, SEL, id key) {
    if (key == nil) objc::fatal("-[%s removeObjectForKey:]: key cannot be nil", object_getClassName(self));
    DictionaryState& d = st(self);
    long at = find(d, key, keyHash(key));
    if (at < 0) return;
    Entry removed = d.entries[static_cast<std::size_t>(at)];
    // Keeping insertion order costs a shift and a new index; removals are
    // rare next to lookups.
    d.entries.erase(d.entries.begin() + at);
    rebuildIndex(d);
    objc::release(removed.key);
    objc::release(removed.value);
}

void removeAllObjects(id self, SEL) { st(self).clear(); }

void addEntriesFromDictionary(id self, SEL, id other) { fillFrom(self, other, "addEntriesFromDictionary:"); }

}  // namespace

bool isDictionary(id object) {
    if (object == nil) return false;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == dictionaryClass) return true;
    }
    return false;
}

id newDictionaryAdopting(Class cls, std::vector<id> keys, std::vector<id> values) {
    id d = alloc(cls);
    DictionaryState& state = st(d);
    state.entries.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        // Immutable strings need no copy: the entry takes the caller's
        // references over. A repeated key keeps the last value.
        if (object_getClass(keys[i]) == stringClass) {
            std::uint64_t hash = keyHash(keys[i]);
            long at = find(state, keys[i], hash);
            if (at < 0) {
                append(state, Entry{keys[i], values[i], hash});
                continue;
            }
        }
        store(d, values[i], keys[i], "dictionary");
        objc::release(keys[i]);
        objc::release(values[i]);
    }
    return d;
}

void moveDictionaryEntries(id from, id to) {
    if (!st(to).entries.empty()) objc::fatal("moveDictionaryEntries into a dictionary that has entries");
    std::swap(st(from).entries, st(to).entries);
    std::swap(st(from).slots, st(to).slots);
}

void dictionaryEntries(id dictionary, std::vector<id>& keys, std::vector<id>& values) {
    keys.clear();
    values.clear();
    for (const Entry& e : st(dictionary).entries) {
        keys.push_back(e.key);
        values.push_back(e.value);
    }
}

void registerDictionary() {
    dictionaryClass = objc::ClassBuilder("NSDictionary", "NSObject"_cls)
                          .state<DictionaryState>("_entries")
                          .classMethod("dictionary", &classDictionary)
                          .classMethod("dictionaryWithDictionary:", &classDictionaryWithDictionary)
                          .classMethod("dictionaryWithObject:forKey:", &classDictionaryWithObject)
                          .classMethod("dictionaryWithObjects:forKeys:count:", &classDictionaryWithObjects)
                          .method("init", &init)
                          .method("initWithDictionary:", &initWithDictionary)
                          .method("initWithObjects:forKeys:count:", &initWithObjects)
                          .method("count", &count)
                          .method("objectForKey:", &objectForKey)
                          .method("allKeys", &allKeys)
                          .method("allValues", &allValues)
                          .method("isEqualToDictionary:", &isEqualToDictionary)
                          .method("isEqual:", &isEqual)
                          .method("hash", &hash)
                          .method("description", &description)
                          .method("copyWithZone:", &copyWithZone)
                          .method("mutableCopyWithZone:", &mutableCopyWithZone)
                          .build();
    mutableDictionaryClass = objc::ClassBuilder("NSMutableDictionary", dictionaryClass)
                                 .classMethod("dictionaryWithCapacity:", &classDictionaryWithCapacity)
                                 .method("setObject:forKey:", &setObject)
                                 .method("removeObjectForKey:", &removeObjectForKey)
                                 .method("removeAllObjects", &removeAllObjects)
                                 .method("addEntriesFromDictionary:", &addEntriesFromDictionary)
                                 .build();
}

}  // namespace NS::internal
