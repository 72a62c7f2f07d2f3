#include <Preferences/PSViewController.h>

#include <cstdlib>
#include <cstring>

namespace PS {
namespace {

bool withoutInitForContentSize() {
    const char* value = std::getenv("HB_PREFERENCES_WITHOUT_INIT_FOR_CONTENT_SIZE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// The framework sizes its panes itself; the content size is not kept.
id initForContentSize(id self, SEL, CGSize) { return objc::send<id>(self, "init"_sel); }

// The view callbacks are passed on unchanged, so that a subclass calling its
// superclass reaches UIKit's behaviour.
void viewDidLoad(id self, SEL _cmd) { objc::sendSuper<void>(self, "PSViewController"_cls, _cmd); }
void viewDidAppear(id self, SEL _cmd, BOOL animated) {
    objc::sendSuper<void>(self, "PSViewController"_cls, _cmd, animated);
}
void viewDidDisappear(id self, SEL _cmd, BOOL animated) {
    objc::sendSuper<void>(self, "PSViewController"_cls, _cmd, animated);
}
void didReceiveMemoryWarning(id self, SEL _cmd) { objc::sendSuper<void>(self, "PSViewController"_cls, _cmd); }

}  // namespace

bool viewControllerAnswersInitForContentSize() {
    Class cls = "PSViewController"_cls;
    return cls != Nil && class_respondsToSelector(cls, "initForContentSize:"_sel);
}

void registerViewController() {
    static const bool registered = [] {
        objc::ClassBuilder builder("PSViewController", objc::cls("UIViewController"));
        builder.method("viewDidLoad", &viewDidLoad)
            .method("viewDidAppear:", &viewDidAppear)
            .method("viewDidDisappear:", &viewDidDisappear)
            .method("didReceiveMemoryWarning", &didReceiveMemoryWarning);
        if (!withoutInitForContentSize()) builder.method("initForContentSize:", &initForContentSize);
        builder.build();
        return true;
    }();
    (void)registered;
}

}  // namespace PS
