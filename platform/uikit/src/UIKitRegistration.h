// The register functions of UIKit's runtime classes. UIKitClasses.cpp calls
// them from the library's one load-time constructor, superclasses first.
#pragma once

namespace UI {

void registerColor();
void registerImage();
void registerScreen();
void registerBlock();
void registerLayer();
void registerResponder();
void registerView();
void registerWindow();
void registerViewController();
void registerApplication();
void registerPasteboard();
void registerTouch();
void registerTouchSet();
void registerEvent();
void registerGestureRecognizer();
void registerPanGestureRecognizer();
void registerTapGestureRecognizer();

// Controls and controllers.
void registerFont();
void registerIndexPath();
void registerBarButtonItem();
void registerNavigationItem();
void registerControl();
void registerLabel();
void registerButton();
void registerSlider();
void registerSwitch();
void registerTextField();
void registerNavigationBar();
void registerNavigationController();
void registerTableViewCell();
void registerTableView();
void registerAlertView();
// Classes a device model may lack; each registered unless the environment
// leaves it out.
void registerOptionalClasses();

}  // namespace UI
