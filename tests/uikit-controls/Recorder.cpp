#include "ControlsTesting.h"

#include <UIKit/NSIndexPath.h>

namespace ctltest {
namespace {

void note(const std::string& entry) { journal().push_back(entry); }

void noArgument(id, SEL s) { note(sel_getName(s)); }
void oneArgument(id, SEL s, id) { note(sel_getName(s)); }
void twoArguments(id, SEL s, id, id) { note(sel_getName(s)); }
void clicked(id, SEL s, id, NSInteger index) { note(std::string(sel_getName(s)) + "(" + std::to_string(index) + ")"); }
void selected(id, SEL s, id, id path) {
    auto* p = objc::cast<NS::IndexPath>(path);
    note(std::string(sel_getName(s)) + "(" + std::to_string(p->section()) + "," + std::to_string(p->row()) + ")");
}

}  // namespace

Class recorderClass() {
    static Class cls = objc::ClassBuilder("ControlsTestRecorder", "NSObject"_cls)
                           .method("ping", &noArgument)
                           .method("pingWithSender:", &oneArgument)
                           .method("pingWithSender:event:", &twoArguments)
                           .method("valueChanged:", &oneArgument)
                           .method("touchDown:", &oneArgument)
                           .method("touchUpInside:", &oneArgument)
                           .method("touchUpOutside:", &oneArgument)
                           .method("dragExit:", &oneArgument)
                           .method("dragEnter:", &oneArgument)
                           .method("editingChanged:", &oneArgument)
                           .method("editingDidEnd:", &oneArgument)
                           .method("barButtonTapped:", &oneArgument)
                           .method("alertView:clickedButtonAtIndex:", &clicked)
                           .method("alertView:willDismissWithButtonIndex:", &clicked)
                           .method("alertView:didDismissWithButtonIndex:", &clicked)
                           .method("tableView:didSelectRowAtIndexPath:", &selected)
                           .build();
    return cls;
}

}  // namespace ctltest
