// NSDate: a moment, kept as seconds since the reference date (1 January 2001,
// 00:00:00 UTC) as on the phone.
#pragma once

#include <Foundation/NSObject.h>

using NSTimeInterval = double;

// Seconds from 1 January 1970 to 1 January 2001.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;

namespace NS {

class Date : public Object {
public:
    // Now, by the system's wall clock.
    static Date* date() { return objc::send<Date*>("NSDate"_cls, "date"_sel); }
    static Date* dateWithTimeIntervalSinceNow(NSTimeInterval seconds) {
        return objc::send<Date*>("NSDate"_cls, "dateWithTimeIntervalSinceNow:"_sel, seconds);
    }
    static Date* dateWithTimeIntervalSince1970(NSTimeInterval seconds) {
        return objc::send<Date*>("NSDate"_cls, "dateWithTimeIntervalSince1970:"_sel, seconds);
    }
    static Date* dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds) {
        return objc::send<Date*>("NSDate"_cls, "dateWithTimeIntervalSinceReferenceDate:"_sel, seconds);
    }

    NSTimeInterval timeIntervalSince1970() const {
        return objc::send<NSTimeInterval>(this, "timeIntervalSince1970"_sel);
    }
    NSTimeInterval timeIntervalSinceReferenceDate() const {
        return objc::send<NSTimeInterval>(this, "timeIntervalSinceReferenceDate"_sel);
    }
    NSTimeInterval timeIntervalSinceNow() const { return objc::send<NSTimeInterval>(this, "timeIntervalSinceNow"_sel); }
    NSTimeInterval timeIntervalSinceDate(const Date* other) const {
        return objc::send<NSTimeInterval>(this, "timeIntervalSinceDate:"_sel, other);
    }
};

}  // namespace NS
