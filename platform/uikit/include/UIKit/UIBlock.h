// Blocks as they travel through messages: a runtime object holding a C++
// function. Animation blocks take nothing; completion blocks take the
// finished flag. A block is copied into the object, which keeps it until the
// object goes away.
//
//     UI::Block* b = UI::Block::blockWithAction([] { ... });
//     b->invoke();
#pragma once

#include <Foundation/NSObject.h>

#include <functional>
#include <utility>

namespace UI {

class Block : public NS::Object {
public:
    static Block* blockWithAction(std::function<void()> action) {
        return objc::send<Block*>("UIBlock"_cls, "blockWithAction:"_sel, static_cast<void*>(&action));
    }
    static Block* blockWithCompletion(std::function<void(BOOL)> completion) {
        return objc::send<Block*>("UIBlock"_cls, "blockWithCompletion:"_sel, static_cast<void*>(&completion));
    }

    // Runs the function; a completion block runs with finished YES.
    void invoke() { objc::send<void>(this, "invoke"_sel); }
    // Runs the function with the flag; an action block ignores it.
    void invokeWithFinished(BOOL finished) { objc::send<void>(this, "invokeWithFinished:"_sel, finished); }
};

}  // namespace UI
