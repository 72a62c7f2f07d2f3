// CKTranscriptController: loads the transcript view and the details button.
#include "ChatKitInternals.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKTranscriptController.h>
#include <ChatKit/CKTranscriptView.h>
#include <ChatKit/CKUIBehavior.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSString.h>
#include <UIKit/UIButton.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>

#include <cmath>

namespace chatkit {
namespace {

struct TranscriptControllerState {
    // The button sits in the navigation bar, which the controller does not
    // own, so the controller keeps it.
    Ref<UI::Button> details;
};

TranscriptControllerState& stateOf(objc::AnyObject self) { return objc::state<TranscriptControllerState>(self); }

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

UI::NavigationBar* navigationBarOf(id controller) {
    UI::NavigationController* navigation = objc::cast<UI::ViewController>(controller)->navigationController();
    return navigation ? navigation->navigationBar() : nullptr;
}

id init(id self, SEL cmd) {
    self = objc::sendSuper<id>(self, "CKTranscriptController"_cls, cmd);
    if (self == nil) return nil;
    NS::String* title = NS::String::stringWithUTF8String(sampleConversation().contactName.c_str());
    objc::cast<UI::ViewController>(self)->setTitle(title);
    return self;
}

void loadView(id self, SEL cmd) {
    checkSentAs(cmd, "loadView");
    auto* controller = objc::cast<UI::ViewController>(self);
    const CGRect screen = UI::Screen::mainScreen()->bounds();

    Ref<CK::TranscriptView> view = objc::adopt(CK::TranscriptView::alloc()->initWithFrame(screen));
    view->setBackgroundColor(behaviorColor("transcriptBackgroundColor"_sel));
    controller->setView(view.get());

    UI::Button* details = UI::Button::buttonWithType(UI::UIButtonTypeSystem);
    details->setTitle("Details"_ns, UI::UIControlStateNormal);
    details->setTintColor(behaviorColor("appTintColor"_sel));
    details->sizeToFit();
    stateOf(self).details = details;
    // Until the controller is shown in a navigation bar, the button stands
    // where the bar will be.
    placeDetailsButton(details, view.get(), screen.size.width, kStatusBarHeight);
}

id detailsButton(id self, SEL) { return objc::asId(stateOf(self).details.get()); }

void viewWillAppear(id self, SEL cmd, BOOL animated) {
    objc::sendSuper<void>(self, "CKTranscriptController"_cls, cmd, animated);
    UI::Button* details = stateOf(self).details.get();
    UI::NavigationBar* bar = navigationBarOf(self);
    if (details && bar) placeDetailsButton(details, bar, bar->bounds().size.width, 0);
}

void viewWillDisappear(id self, SEL cmd, BOOL animated) {
    objc::sendSuper<void>(self, "CKTranscriptController"_cls, cmd, animated);
    UI::Button* details = stateOf(self).details.get();
    UI::NavigationBar* bar = navigationBarOf(self);
    if (details && bar && details->superview() == bar) details->removeFromSuperview();
}

}  // namespace

void registerTranscriptController() {
    // The details button joins the navigation bar while the transcript is
    // shown and leaves it when the transcript goes.
    objc::ClassBuilder("CKTranscriptController", "UIViewController"_cls)
        .state<TranscriptControllerState>()
        .method("init", &init)
        .method("loadView", &loadView)
        .method("detailsButton", &detailsButton)
        .method("viewWillAppear:", &viewWillAppear)
        .method("viewWillDisappear:", &viewWillDisappear)
        .build();
}

}  // namespace chatkit
