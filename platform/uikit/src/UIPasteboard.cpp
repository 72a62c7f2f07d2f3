#include <Device/DevicePath.h>
#include <Foundation/AtomicFile.h>
#include <Foundation/NSString.h>
#include <UIKit/UIPasteboard.h>

#include "UIKitRegistration.h"

#include <filesystem>

namespace UI {
namespace {

constexpr const char* kPasteboardFile = "/var/run/hbsim/pasteboard.txt";

id generalPasteboard(Class self, SEL) {
    static id pasteboard = objc::asId(objc::send<NS::Object*>(self, "alloc"_sel)->init());
    return pasteboard;
}

id string(id, SEL) {
    auto path = device::hostPath(kPasteboardFile);
    if (!path) return nil;
    auto bytes = NS::readHostFile(*path);
    if (!bytes) return nil;
    // Text that is not UTF-8 reads as no text.
    return objc::autorelease(NS::String::alloc()->initWithBytes(bytes->data(), bytes->size(), NSUTF8StringEncoding));
}

void setString(id, SEL, id text) {
    auto path = device::hostPath(kPasteboardFile);
    if (!path) return;
    if (text == nil) {
        std::error_code ec;
        std::filesystem::remove(*path, ec);
        return;
    }
    const char* utf8 = objc::cast<NS::String>(text)->UTF8String();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(*path).parent_path(), ec);
    NS::writeHostFileAtomically(*path, utf8, std::char_traits<char>::length(utf8));
}

}  // namespace

void registerPasteboard() {
    objc::ClassBuilder("UIPasteboard", "NSObject"_cls)
        .classMethod("generalPasteboard", &generalPasteboard)
        .method("string", &string)
        .method("setString:", &setString)
        .build();
}

}  // namespace UI
