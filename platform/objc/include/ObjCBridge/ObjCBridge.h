// Everything of the runtime bridge in one include.
#pragma once

#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/ClassBuilder.h>
#include <ObjCBridge/Encoding.h>
#include <ObjCBridge/Ref.h>
#include <ObjCBridge/Runtime.h>
#include <ObjCBridge/Selector.h>
#include <ObjCBridge/Send.h>
#include <ObjCBridge/State.h>
