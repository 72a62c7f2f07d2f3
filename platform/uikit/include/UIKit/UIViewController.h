// UIViewController: owns a view, made on first request (loadView, then
// viewDidLoad). The view knows its controller, which is the view's next
// responder and what _viewControllerForAncestor finds; the controller's next
// responder is its view's superview.
#pragma once

#include <UIKit/UIResponder.h>

namespace UI {

class View;

class ViewController : public Responder {
public:
    static ViewController* alloc() { return objc::send<ViewController*>("UIViewController"_cls, "alloc"_sel); }
    ViewController* init() { return objc::send<ViewController*>(this, "init"_sel); }

    // Loads the view when it is not loaded yet.
    View* view() { return objc::send<View*>(this, "view"_sel); }
    void setView(View* view) { objc::send<void>(this, "setView:"_sel, view); }
    BOOL isViewLoaded() const { return objc::send<BOOL>(this, "isViewLoaded"_sel); }
    // Makes a plain view of the main screen's size; override to make others.
    void loadView() { objc::send<void>(this, "loadView"_sel); }
    void viewDidLoad() { objc::send<void>(this, "viewDidLoad"_sel); }
};

}  // namespace UI
