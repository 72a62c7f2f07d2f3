// PSViewController: the Preferences framework's base of the view controllers
// that a settings bundle pushes itself (the colour chooser is one). It adds
// nothing to UIViewController but the content-size initialiser, which some
// versions of the framework have and others do not: code that wants it asks
// at run time (+instancesRespondToSelector:) and falls back to -init.
//
// The stand-in offers it unless the environment variable
// HB_PREFERENCES_WITHOUT_INIT_FOR_CONTENT_SIZE is set to 1 when the class is
// registered (when the library loads), so that both kinds of framework can
// be run.
#pragma once

#include <UIKit/UIKit.h>

namespace PS {

class ViewController : public UI::ViewController {
public:
    static ViewController* alloc() { return objc::send<ViewController*>("PSViewController"_cls, "alloc"_sel); }
    ViewController* init() { return objc::send<ViewController*>(this, "init"_sel); }
    // Present only where the framework has it (see above).
    ViewController* initForContentSize(CGSize size) {
        return objc::send<ViewController*>(this, "initForContentSize:"_sel, size);
    }
};

// Whether the registered class answers initForContentSize:.
bool viewControllerAnswersInitForContentSize();

// Registers PSViewController under UIViewController; runs once. Called from
// the library's registration.
void registerViewController();

}  // namespace PS
