// UIKit's one load-time constructor: it registers every runtime class of the
// library, superclasses first, as soon as the library is loaded.
#include <Foundation/NSObject.h>

#include "UIKitRegistration.h"

namespace UI {

void registerUIKitClasses() {
    static const bool registered = [] {
        NS::registerRootClass();
        registerColor();
        registerImage();
        registerScreen();
        registerBlock();
        registerLayer();
        registerResponder();
        registerView();
        registerWindow();
        registerViewController();
        registerApplication();
        registerPasteboard();
        registerTouch();
        registerTouchSet();
        registerEvent();
        registerGestureRecognizer();
        registerPanGestureRecognizer();
        registerTapGestureRecognizer();
        // Classes added to UIKit later are registered here, after their
        // superclasses.
        registerFont();
        registerIndexPath();
        registerBarButtonItem();
        registerNavigationItem();
        registerControl();
        registerLabel();
        registerButton();
        registerSlider();
        registerSwitch();
        registerTextField();
        registerNavigationBar();
        registerNavigationController();
        registerTableViewCell();
        registerTableView();
        registerAlertView();
        registerOptionalClasses();
        return true;
    }();
    (void)registered;
}

}  // namespace UI

__attribute__((constructor)) static void registerUIKit() { UI::registerUIKitClasses(); }
