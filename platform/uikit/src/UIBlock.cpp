#include <UIKit/UIBlock.h>

#include "UIKitRegistration.h"

namespace UI {
namespace {

struct BlockState {
    std::function<void()> action;
    std::function<void(BOOL)> completion;
};

id make(Class cls) {
    id block = objc::asId(objc::send<NS::Object*>(cls, "alloc"_sel)->init());
    return objc::autorelease(block);
}

id blockWithAction(Class self, SEL, void* action) {
    id block = make(self);
    objc::state<BlockState>(block).action = std::move(*static_cast<std::function<void()>*>(action));
    return block;
}

id blockWithCompletion(Class self, SEL, void* completion) {
    id block = make(self);
    objc::state<BlockState>(block).completion = std::move(*static_cast<std::function<void(BOOL)>*>(completion));
    return block;
}

void invokeWithFinished(id self, SEL, BOOL finished) {
    // A copy runs, so that the block may release its own object while it runs.
    BlockState& s = objc::state<BlockState>(self);
    if (s.completion) {
        auto fn = s.completion;
        fn(finished);
    } else if (s.action) {
        auto fn = s.action;
        fn();
    }
}

void invoke(id self, SEL) { invokeWithFinished(self, nullptr, YES); }

// Blocks are immutable once made: a copy is the block itself.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

void registerBlock() {
    objc::ClassBuilder("UIBlock", "NSObject"_cls)
        .state<BlockState>()
        .classMethod("blockWithAction:", &blockWithAction)
        .classMethod("blockWithCompletion:", &blockWithCompletion)
        .method("invoke", &invoke)
        .method("invokeWithFinished:", &invokeWithFinished)
        .method("copyWithZone:", &copyWithZone)
        .build();
}

}  // namespace UI
