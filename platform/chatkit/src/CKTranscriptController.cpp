// CKTranscriptController: loads the transcript view and the details button.
#include "ChatKitRegistration.h"

#include <ChatKit/CKTranscriptController.h>
#include <ChatKit/CKTranscriptView.h>
#include <ChatKit/CKUIBehavior.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSString.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIScreen.h>

#include <cmath>

namespace chatkit {
namespace {

struct TranscriptControllerState {
    // The button sits in the navigation bar, which the controller does not
    // own, so the controller keeps it.
    Ref<UI::Button> details;
};

TranscriptControllerState& stateOf(const void* self) { return objc::state<TranscriptControllerState>(self); }

constexpr CGFloat kStatusBarHeight = 20;
constexpr CGFloat kNavigationBarHeight = 44;
constexpr CGFloat kBarButtonInset = 8;

// The details button at the right end of a bar of the given width, centred
// in the bar's height, with `top` the bar's top in the parent's coordinates.
void placeDetailsButton(UI::Button* button, UI::View* parent, CGFloat width, CGFloat top) {
    if (button->superview() != parent) {
        button->removeFromSuperview();
        parent->addSubview(button);
    }
    CGRect f = button->frame();
    button->setFrame(CGRectMake(width - kBarButtonInset - f.size.width,
                                top + std::round((kNavigationBarHeight - f.size.height) / 2), f.size.width,
                                f.size.height));
}

id navigationBarOf(id controller) {
    id navigation = objc::respondsTo(controller, "navigationController"_sel)
                        ? objc::send<id>(controller, "navigationController"_sel)
                        : nil;
    return objc::respondsTo(navigation, "navigationBar"_sel) ? objc::send<id>(navigation, "navigationBar"_sel) : nil;
}

void loadView(id self, SEL) {
    auto* controller = objc::cast<UI::ViewController>(self);
    CK::UIBehavior* behavior = CK::UIBehavior::sharedBehaviors();
    const CGRect screen = UI::Screen::mainScreen()->bounds();

    Ref<CK::TranscriptView> view = objc::adopt(CK::TranscriptView::alloc()->initWithFrame(screen));
    view->setBackgroundColor(behavior->transcriptBackgroundColor());
    controller->setView(view.get());

    UI::Button* details = UI::Button::buttonWithType(UI::UIButtonTypeSystem);
    details->setTitle("Details"_ns, UI::UIControlStateNormal);
    details->setTintColor(behavior->appTintColor());
    details->sizeToFit();
    stateOf(self).details = details;
    // Until the controller is shown in a navigation bar, the button stands
    // where the bar will be.
    placeDetailsButton(details, view.get(), screen.size.width, kStatusBarHeight);

    NS::String* title = NS::String::stringWithUTF8String(sampleConversation().contactName.c_str());
    if (objc::respondsTo(self, "setTitle:"_sel)) objc::send<void>(self, "setTitle:"_sel, title);
}

id detailsButton(id self, SEL) { return objc::asId(stateOf(self).details.get()); }

void viewWillAppear(id self, SEL cmd, BOOL animated) {
    objc::sendSuper<void>(self, "CKTranscriptController"_cls, cmd, animated);
    UI::Button* details = stateOf(self).details.get();
    auto* bar = objc::cast<UI::View>(navigationBarOf(self));
    if (details && bar) placeDetailsButton(details, bar, bar->bounds().size.width, 0);
}

void viewWillDisappear(id self, SEL cmd, BOOL animated) {
    objc::sendSuper<void>(self, "CKTranscriptController"_cls, cmd, animated);
    UI::Button* details = stateOf(self).details.get();
    if (details && navigationBarOf(self) && details->superview() == objc::cast<UI::View>(navigationBarOf(self))) {
        details->removeFromSuperview();
    }
}

}  // namespace

void registerTranscriptController() {
    objc::ClassBuilder builder("CKTranscriptController", "UIViewController"_cls);
    builder.state<TranscriptControllerState>()
        .method("loadView", &loadView)
        .method("detailsButton", &detailsButton);
    // The bar's button moves with the controller's appearance; a UIKit
    // without appearance callbacks keeps it over the transcript.
    if (class_respondsToSelector("UIViewController"_cls, "viewWillAppear:"_sel)) {
        builder.method("viewWillAppear:", &viewWillAppear).method("viewWillDisappear:", &viewWillDisappear);
    }
    builder.build();
}

}  // namespace chatkit
