// Helpers shared by the Foundation tests.
#pragma once

#include <Foundation/Foundation.h>
#include <gtest/gtest.h>

#include <string>

namespace hbtest {

inline NS::String* str(const char* utf8) { return NS::String::stringWithUTF8String(utf8); }
inline std::string utf8(const NS::String* s) { return s ? s->UTF8String() : "(nil)"; }
inline std::string describe(objc::AnyObject object) {
    return object.get() != nil ? utf8(objc::cast<NS::Object>(object.get())->description()) : "(nil)";
}

// Every test opens a pool, as the app run loops do.
class FoundationTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

}  // namespace hbtest
