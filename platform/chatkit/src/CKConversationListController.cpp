// CKConversationListController: the list of conversations.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKConversationListController.h>
#include <ChatKit/CKTranscriptController.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSString.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UIScreen.h>

#include <vector>

namespace chatkit {
namespace {

struct ListState {
    std::vector<UI::View*> cells;  // subviews: owned by the view tree
};

ListState& stateOf(objc::AnyObject self) { return objc::state<ListState>(self); }

void layoutRows(id controller) {
    auto* view = objc::send<UI::View*>(controller, "view"_sel);
    const CGFloat width = view->bounds().size.width;
    CGFloat y = metrics::kTopBarsHeight;
    for (UI::View* cell : stateOf(controller).cells) {
        cell->setFrame(CGRectMake(0, y, width, metrics::kListRowHeight));
        y += metrics::kListRowHeight;
    }
}

void loadView(id self, SEL) {
    const CGRect screen = UI::Screen::mainScreen()->bounds();
    Ref<UI::View> view = objc::adopt(UI::View::alloc()->initWithFrame(screen));
    view->setBackgroundColor(UI::Color::whiteColor());
    ListState& s = stateOf(self);
    s.cells.clear();
    for (const SampleListRow& row : sampleConversationList()) {
        UI::View* cell = newConversationListCell(row, self, "openConversation:"_sel);
        view->addSubview(cell);
        objc::release(cell);
        s.cells.push_back(cell);
    }
    objc::cast<UI::ViewController>(self)->setView(view.get());
    layoutRows(self);
}

id init(id self, SEL cmd) {
    self = objc::sendSuper<id>(self, "CKConversationListController"_cls, cmd);
    if (self == nil) return nil;
    auto* controller = objc::cast<UI::ViewController>(self);
    controller->setTitle("Messages"_ns);
    Ref<UI::BarButtonItem> edit = objc::adopt(
        UI::BarButtonItem::alloc()->initWithTitle("Edit"_ns, UI::UIBarButtonItemStylePlain, nullptr, nullptr));
    controller->navigationItem()->setLeftBarButtonItem(edit.get());
    return self;
}

// Opens the transcript of the conversation (there is one).
void openConversation(id self, SEL, id) {
    Class transcript = objc_getClass("CKTranscriptController");
    UI::NavigationController* navigation = objc::cast<UI::ViewController>(self)->navigationController();
    if (transcript == Nil || navigation == nullptr) return;
    Ref<CK::TranscriptController> controller =
        objc::adopt(objc::send<CK::TranscriptController*>(objc::send<id>(transcript, "alloc"_sel), "init"_sel));
    navigation->pushViewController(controller.get(), YES);
}

}  // namespace

void registerConversationListController() {
    objc::ClassBuilder("CKConversationListController", "UIViewController"_cls)
        .state<ListState>()
        .method("init", &init)
        .method("loadView", &loadView)
        .method("openConversation:", &openConversation)
        .build();
}

}  // namespace chatkit
