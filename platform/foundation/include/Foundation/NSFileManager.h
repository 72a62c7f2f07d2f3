// NSFileManager: questions about files at phone paths.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {

class String;

class FileManager : public Object {
public:
    static FileManager* defaultManager() { return objc::send<FileManager*>("NSFileManager"_cls, "defaultManager"_sel); }
    // YES when something (a file or a folder) exists at the phone path; NO
    // for a path the device refuses.
    BOOL fileExistsAtPath(const String* path) const { return objc::send<BOOL>(this, "fileExistsAtPath:"_sel, path); }
    BOOL removeItemAtPath(const String* path) {
        return objc::send<BOOL>(this, "removeItemAtPath:error:"_sel, path, static_cast<void*>(nullptr));
    }
};

}  // namespace NS
