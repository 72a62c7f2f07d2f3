// NSData: an immutable run of bytes.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {

class String;

class Data : public Object {
public:
    static Data* data() { return objc::send<Data*>("NSData"_cls, "data"_sel); }
    static Data* dataWithBytes(const void* bytes, NSUInteger length) {
        return objc::send<Data*>("NSData"_cls, "dataWithBytes:length:"_sel, bytes, length);
    }
    // The whole file at a phone path; nil when it is missing, unreadable, not
    // a regular file or larger than 64 MiB.
    static Data* dataWithContentsOfFile(const String* path) {
        return objc::send<Data*>("NSData"_cls, "dataWithContentsOfFile:"_sel, path);
    }

    Data* initWithBytes(const void* bytes, NSUInteger length) {
        return objc::send<Data*>(this, "initWithBytes:length:"_sel, bytes, length);
    }

    // Valid while the data lives; nullptr when empty.
    const void* bytes() const { return objc::send<const void*>(this, "bytes"_sel); }
    NSUInteger length() const { return objc::send<NSUInteger>(this, "length"_sel); }
    BOOL isEqualToData(const Data* other) const { return objc::send<BOOL>(this, "isEqualToData:"_sel, other); }
    // With `atomically`, through a temporary file in the same folder and a
    // rename: a reader sees the old file or the new one, never a part.
    BOOL writeToFile(const String* path, BOOL atomically) const {
        return objc::send<BOOL>(this, "writeToFile:atomically:"_sel, path, atomically);
    }
};

}  // namespace NS
