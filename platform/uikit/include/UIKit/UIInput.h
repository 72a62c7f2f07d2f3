// A finger on the screen, for app hosts and tests: touches delivered as the
// phone delivers them. Going down, the finger hit-tests the shown windows
// from the front; the touch then belongs to the view it landed on for its
// whole life, its events go through the application and the window to the
// gesture recognisers and the view. Points are screen points.
//
//     UI::input::tap(CGPointMake(160, 300));
//     UI::input::drag(CGPointMake(20, 100), CGPointMake(200, 100), 8);
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Ref.h>
#include <ObjCBridge/Runtime.h>

namespace UI {

class Touch;
class View;
class Window;

namespace input {

class Finger {
public:
    // Puts the finger down: a touch that begins.
    explicit Finger(CGPoint screenPoint);
    // Lifts it when still down.
    ~Finger();
    Finger(const Finger&) = delete;
    Finger& operator=(const Finger&) = delete;

    void moveTo(CGPoint screenPoint);
    void lift();
    // The touch ends as cancelled (a call comes in, say).
    void cancel();

    // The view the finger went down on, nil when it missed every window.
    View* view() const;
    bool isDown() const { return touch_ != nullptr; }

private:
    void send(CGPoint screenPoint, int phase);
    Ref<Touch> touch_;          // while down
    Window* window_ = nullptr;  // the one it went down in, kept by the touch
};

// Down and up at the point.
void tap(CGPoint screenPoint);
// Down at `from`, through `intermediatePoints` evenly spaced points, to `to`,
// up at `to`.
void drag(CGPoint from, CGPoint to, int intermediatePoints);
// Down, held while the run loop runs for the time, up. It runs the run loop,
// so it must not be called from inside a run loop callback.
void longPress(CGPoint screenPoint, double seconds);

}  // namespace input
}  // namespace UI
