// Everything of the runtime bridge in one include.
//
// How code calls an object. Through its wrapper, always: the wrapper's
// method is one line that sends the message, so hooks and overrides still
// take effect, and the types are checked. A message to nil is harmless, but a
// member call through a null wrapper pointer is undefined behaviour in C++, so
// where an object may be nil, test for it, then call the wrapper:
//
//     UI::NavigationController* navigation = pane->navigationController();
//     if (navigation != nullptr) navigation->pushViewController(chooser, YES);
//
//     // Not: objc::send<void>(navigation, "pushViewController:animated:"_sel, chooser, YES);
//
// objc::send itself is for four places only: the wrapper classes' own
// one-line methods; super sends and saved implementations (objc::sendSuper,
// objc::callImp) inside a class's methods; messages whose receiver or
// selector is only known at run time (a delegate's or data source's optional
// methods, a target's action, alloc on the class a class method was sent to);
// and objects of classes that have no wrapper by design (ChatKit's, which the
// hook library reaches by name with objc_getClass).
#pragma once

#include <ObjCBridge/AnyObject.h>
#include <ObjCBridge/AutoreleasePool.h>
#include <ObjCBridge/ClassBuilder.h>
#include <ObjCBridge/Encoding.h>
#include <ObjCBridge/Implementation.h>
#include <ObjCBridge/Ref.h>
#include <ObjCBridge/Runtime.h>
#include <ObjCBridge/Selector.h>
#include <ObjCBridge/Send.h>
#include <ObjCBridge/State.h>
