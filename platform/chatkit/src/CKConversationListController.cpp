// CKConversationListController: the list of conversations.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKConversationListController.h>
#include <ChatKit/CKTranscriptController.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSString.h>
#include <UIKit/UIScreen.h>

#include <vector>

namespace chatkit {
namespace {

struct ListState {
    std::vector<UI::View*> cells;  // subviews: owned by the view tree
};

ListState& stateOf(const void* self) { return objc::state<ListState>(self); }

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
    if (objc::respondsTo(self, "setTitle:"_sel)) objc::send<void>(self, "setTitle:"_sel, "Messages"_ns);
}

// Opens the transcript of the conversation (there is one).
void openConversation(id self, SEL, id) {
    Class transcript = objc_getClass("CKTranscriptController");
    id navigation = objc::respondsTo(self, "navigationController"_sel)
                        ? objc::send<id>(self, "navigationController"_sel)
                        : nil;
    if (transcript == Nil || navigation == nil) return;
    Ref<CK::TranscriptController> controller = objc::adopt(
        objc::send<CK::TranscriptController*>(objc::send<id>(transcript, "alloc"_sel), "init"_sel));
    objc::send<void>(navigation, "pushViewController:animated:"_sel, controller.get(), YES);
}

}  // namespace

void registerConversationListController() {
    objc::ClassBuilder("CKConversationListController", "UIViewController"_cls)
        .state<ListState>()
        .method("loadView", &loadView)
        .method("openConversation:", &openConversation)
        .build();
}

}  // namespace chatkit
