// Core Foundation, everything in one include.
#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/CFPreferences.h>
