// NSData over a vector of bytes.
#include <Foundation/AtomicFile.h>
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <Device/DevicePath.h>

#include <cstdio>
#include <cstring>

namespace NS::internal {

Class dataClass = Nil;

namespace {

struct DataState {
    std::vector<unsigned char> bytes;
};

DataState& st(id self) { return objc::state<DataState>(self); }

id make(Class cls, std::vector<unsigned char> bytes) {
    id object = objc::send<id>(cls, "alloc"_sel);
    st(object).bytes = std::move(bytes);
    return objc::autorelease(object);
}

std::vector<unsigned char> copyOf(const void* bytes, NSUInteger length) {
    if (bytes == nullptr || length == 0) return {};
    const auto* p = static_cast<const unsigned char*>(bytes);
    return std::vector<unsigned char>(p, p + length);
}

id classData(Class self, SEL) { return make(self, {}); }
id classDataWithBytes(Class self, SEL, const void* bytes, NSUInteger length) {
    return make(self, copyOf(bytes, length));
}
id classDataWithContentsOfFile(Class self, SEL, id path) {
    auto host = hostPathOf(path);
    if (!host) return nil;
    auto bytes = readHostFile(*host);
    if (!bytes) return nil;
    return make(self, std::move(*bytes));
}

id initWithBytes(id self, SEL, const void* bytes, NSUInteger length) {
    st(self).bytes = copyOf(bytes, length);
    return self;
}

const void* bytes(id self, SEL) { return st(self).bytes.empty() ? nullptr : st(self).bytes.data(); }
NSUInteger length(id self, SEL) { return st(self).bytes.size(); }

BOOL isEqualToData(id self, SEL, id other) { return isData(other) && st(self).bytes == st(other).bytes; }
BOOL isEqual(id self, SEL s, id other) { return self == other || isEqualToData(self, s, other); }
NSUInteger hash(id self, SEL) { return st(self).bytes.size(); }
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

BOOL writeToFile(id self, SEL, id path, BOOL atomically) {
    auto host = hostPathOf(path);
    if (!host) return NO;
    const auto& b = st(self).bytes;
    bool ok = atomically ? writeHostFileAtomically(*host, b.data(), b.size())
                         : writeHostFileDirectly(*host, b.data(), b.size());
    return ok ? YES : NO;
}

// "<0001feff 10>": hexadecimal, a space after every four bytes.
id description(id self, SEL) {
    std::string text = "<";
    const auto& b = st(self).bytes;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (i > 0 && i % 4 == 0) text += ' ';
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", b[i]);
        text += hex;
    }
    return objc::autorelease(newStringFromUTF8Lossy(text + ">"));
}

}  // namespace

std::optional<std::string> hostPathOf(id phonePath) {
    if (!isString(phonePath)) return std::nullopt;
    return device::hostPath(utf8Of(phonePath));
}

bool isData(id object) {
    if (object == nil) return false;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == dataClass) return true;
    }
    return false;
}

const std::vector<unsigned char>& dataBytes(id data) { return st(data).bytes; }

id newData(std::vector<unsigned char> bytes) {
    id object = objc::send<id>(dataClass, "alloc"_sel);
    st(object).bytes = std::move(bytes);
    return object;
}

void registerData() {
    dataClass = objc::ClassBuilder("NSData", "NSObject"_cls)
                    .state<DataState>("_bytes")
                    .classMethod("data", &classData)
                    .classMethod("dataWithBytes:length:", &classDataWithBytes)
                    .classMethod("dataWithContentsOfFile:", &classDataWithContentsOfFile)
                    .method("initWithBytes:length:", &initWithBytes)
                    .method("bytes", &bytes)
                    .method("length", &length)
                    .method("isEqualToData:", &isEqualToData)
                    .method("isEqual:", &isEqual)
                    .method("hash", &hash)
                    .method("copyWithZone:", &copyWithZone)
                    .method("writeToFile:atomically:", &writeToFile)
                    .method("description", &description)
                    .build();
}

}  // namespace NS::internal
