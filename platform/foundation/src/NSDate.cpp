// NSDate over a double of seconds since the reference date.
#include <Foundation/NSDate.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace NS::internal {

Class dateClass = Nil;

namespace {

struct DateState {
    double sinceReferenceDate = 0;
};

DateState& st(id self) { return objc::state<DateState>(self); }

double nowSinceReferenceDate() {
    using namespace std::chrono;
    double unix = duration<double>(system_clock::now().time_since_epoch()).count();
    return unix - NSTimeIntervalSince1970;
}

id make(Class cls, double sinceReferenceDate) {
    id object = objc::send<id>(cls, "alloc"_sel);
    st(object).sinceReferenceDate = sinceReferenceDate;
    return objc::autorelease(object);
}

id classDate(Class self, SEL) { return make(self, nowSinceReferenceDate()); }
id classSinceNow(Class self, SEL, double s) { return make(self, nowSinceReferenceDate() + s); }
id classSince1970(Class self, SEL, double s) { return make(self, s - NSTimeIntervalSince1970); }
id classSinceReference(Class self, SEL, double s) { return make(self, s); }
id init(id self, SEL) {
    st(self).sinceReferenceDate = nowSinceReferenceDate();
    return self;
}

double since1970(id self, SEL) { return st(self).sinceReferenceDate + NSTimeIntervalSince1970; }
double sinceReference(id self, SEL) { return st(self).sinceReferenceDate; }
double sinceNow(id self, SEL) { return st(self).sinceReferenceDate - nowSinceReferenceDate(); }
double sinceDate(id self, SEL, id other) {
    if (!isDate(other)) objc::fatal("-[NSDate timeIntervalSinceDate:] needs a date");
    return st(self).sinceReferenceDate - st(other).sinceReferenceDate;
}

BOOL isEqual(id self, SEL, id other) {
    return self == other || (isDate(other) && st(other).sinceReferenceDate == st(self).sinceReferenceDate);
}
NSUInteger hash(id self, SEL) { return static_cast<NSUInteger>(static_cast<long long>(st(self).sinceReferenceDate)); }
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

// "2001-01-01 00:00:00 +0000", in UTC.
id description(id self, SEL) {
    std::time_t t = static_cast<std::time_t>(std::floor(st(self).sinceReferenceDate + NSTimeIntervalSince1970));
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return objc::autorelease(newStringFromUTF8Lossy(buffer));
}

}  // namespace

bool isDate(id object) {
    if (object == nil) return false;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == dateClass) return true;
    }
    return false;
}

double dateSinceReferenceDate(id date) { return st(date).sinceReferenceDate; }

id newDate(double sinceReferenceDate) {
    id object = objc::send<id>(dateClass, "alloc"_sel);
    st(object).sinceReferenceDate = sinceReferenceDate;
    return object;
}

void registerDate() {
    dateClass = objc::ClassBuilder("NSDate", "NSObject"_cls)
                    .state<DateState>("_time")
                    .classMethod("date", &classDate)
                    .classMethod("dateWithTimeIntervalSinceNow:", &classSinceNow)
                    .classMethod("dateWithTimeIntervalSince1970:", &classSince1970)
                    .classMethod("dateWithTimeIntervalSinceReferenceDate:", &classSinceReference)
                    .method("init", &init)
                    .method("timeIntervalSince1970", &since1970)
                    .method("timeIntervalSinceReferenceDate", &sinceReference)
                    .method("timeIntervalSinceNow", &sinceNow)
                    .method("timeIntervalSinceDate:", &sinceDate)
                    .method("isEqual:", &isEqual)
                    .method("hash", &hash)
                    .method("copyWithZone:", &copyWithZone)
                    .method("description", &description)
                    .build();
}

}  // namespace NS::internal
