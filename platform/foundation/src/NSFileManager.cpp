// NSFileManager: one shared instance over the device folder.
#include <Foundation/NSFileManager.h>

#include "FoundationInternal.h"

#include <sys/stat.h>
#include <unistd.h>

namespace NS::internal {
namespace {

Class fileManagerClass = Nil;

id classDefaultManager(Class, SEL) {
    static id const shared = objc::send<id>(objc::send<id>(fileManagerClass, "alloc"_sel), "init"_sel);
    return shared;
}

BOOL fileExistsAtPath(id, SEL, id path) {
    auto host = hostPathOf(path);
    struct stat info {};
    return host && ::stat(host->c_str(), &info) == 0 ? YES : NO;
}

// Removes a file or an empty folder (the error out-parameter is not filled).
BOOL removeItemAtPath(id, SEL, id path, void*) {
    auto host = hostPathOf(path);
    if (!host) return NO;
    if (::unlink(host->c_str()) == 0) return YES;
    return ::rmdir(host->c_str()) == 0 ? YES : NO;
}

}  // namespace

void registerFileManager() {
    fileManagerClass = objc::ClassBuilder("NSFileManager", "NSObject"_cls)
                           .classMethod("defaultManager", &classDefaultManager)
                           .method("fileExistsAtPath:", &fileExistsAtPath)
                           .method("removeItemAtPath:error:", &removeItemAtPath)
                           .build();
}

}  // namespace NS::internal
