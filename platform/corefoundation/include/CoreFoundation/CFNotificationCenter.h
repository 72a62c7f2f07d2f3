// The Darwin notify centre: notifications by name, device wide. A name posted
// in one process reaches the observers of that name in every process of the
// same device (the poster's own included), on their main run loops, never
// inside the post. As on the phone, the object and user info of a Darwin
// notification are not carried (observers get NULL for both), and the
// suspension behaviour is ignored (apps here are never suspended).
//
// Every post is also appended, one name per line, to the device log
// "/var/run/hbsim/notifications.log", so that tests and the simulator can see
// what was posted.
#pragma once

#include <CoreFoundation/CFBase.h>

typedef struct __CFNotificationCenter* CFNotificationCenterRef;

typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void* observer, CFStringRef name,
                                       const void* object, CFDictionaryRef userInfo);

typedef enum {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4
} CFNotificationSuspensionBehavior;

enum { kCFNotificationDeliverImmediately = (1UL << 0), kCFNotificationPostToAllSessions = (1UL << 1) };

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter(void);

// Calls callBack on the main run loop for each notification of that name.
// The name is copied. A NULL name, centre or callback registers nothing:
// Darwin observers always name what they observe. Registering the same
// observer for the same name again replaces the callback.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name, const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);

// Removes the observer's registration for the name, or all of its
// registrations when name is NULL.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name,
                                        const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
                                          CFDictionaryRef userInfo, Boolean deliverImmediately);
void CFNotificationCenterPostNotificationWithOptions(CFNotificationCenterRef center, CFStringRef name,
                                                     const void* object, CFDictionaryRef userInfo,
                                                     CFOptionFlags options);

}  // extern "C"
