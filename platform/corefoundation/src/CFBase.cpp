#include <CoreFoundation/CFBase.h>

extern "C" {

CFTypeRef CFRetain(CFTypeRef cf) {
    if (cf == nullptr) objc::fatal("CFRetain(NULL)");
    return objc::retain(objc::asId(cf));
}

void CFRelease(CFTypeRef cf) {
    if (cf == nullptr) objc::fatal("CFRelease(NULL)");
    objc::release(objc::asId(cf));
}

Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2) {
    if (cf1 == cf2) return true;
    if (cf1 == nullptr || cf2 == nullptr) return false;
    return objc::send<BOOL>(cf1, "isEqual:"_sel, objc::asId(cf2));
}

}  // extern "C"
