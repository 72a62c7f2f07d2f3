// The main run loop of an app: timers (delayed performs, animations) and
// readable file descriptors (notification sockets), served in turns. Each
// turn drains an autorelease pool of its own.
//
// Apps run on real time. Tests switch to a virtual clock, on which time moves
// only through runFor / runUntil and every timer due in the window runs at
// once, so delayed calls are deterministic:
//
//     NS::loop::useVirtualClock();
//     NS::loop::schedule(0.1, [&] { fired = true; });
//     NS::loop::runFor(0.5);          // returns at once; now() moved by 0.5
//
// There is one run loop, the main thread's: the platform runs all of its
// objects on the main thread, and none of these functions may be called from
// another one.
#pragma once

#include <Foundation/NSObject.h>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace NS {

class Date;

namespace loop {

// Seconds on the loop's clock (real or virtual). Only differences mean
// anything; the clock never goes backwards, not even when switching clocks.
double now();

using TimerId = std::uint64_t;

// Runs fn once on the main run loop after the delay (a negative delay counts
// as 0). Timers run in the order of their due times, and in the order they
// were scheduled when due at the same time. A timer scheduled while timers
// are being run is never run in the same turn, even with no delay: it waits
// for the next turn. Ids are never reused.
TimerId schedule(double delaySeconds, std::function<void()> fn);

// Forgets a timer that has not run yet; an unknown or already run id is
// ignored. The timer's function is destroyed here.
void cancel(TimerId id);

// Forgets every pending timer: test fixtures call it so that no timer of one
// test fires in the next.
void cancelAll();

// Switches the virtual clock on (tests) or off. The virtual clock starts at
// the current time and moves only through runFor and runUntil.
void useVirtualClock(bool on = true);
bool usesVirtualClock();

// Runs every timer due up to now+seconds, in time order, and serves the
// sources that are readable. On the virtual clock it returns at once with the
// clock moved by exactly `seconds` (each timer sees now() equal to its due
// time), serving only what is readable already; on the real clock it waits,
// serving sources as they become readable.
void runFor(double seconds);

// Runs the loop until done() holds or the timeout has passed on the loop's
// clock; gives done()'s last answer. On the virtual clock the timers up to the
// deadline run at once; if done() still does not hold and sources are
// registered, it then waits for them in real time, up to the timeout, since
// their data comes from other processes.
bool runUntil(std::function<bool()> done, double timeoutSeconds);

// Calls onReadable on the main run loop whenever fd has data to read (or is
// closed by its other end). One callback per fd; adding again replaces it.
// A source may remove itself (or others) from inside its callback. Closing an
// fd that is still registered is a programmer mistake and aborts the turn
// that finds it.
void addSource(int fd, std::function<void()> onReadable);
void removeSource(int fd);

// The app's main loop: serves timers and sources until stop(). On the
// virtual clock it jumps from timer to timer, and returns when no timer is
// left and no source could ever wake it.
void run();

// Makes the running run() return after its current turn. Called while no
// run() is active, it makes the next run() return after its first turn.
void stop();

std::size_t pendingTimers();

}  // namespace loop

// The runtime class NSRunLoop: a face of the main run loop for code that
// talks to it through messages.
class RunLoop : public Object {
public:
    static RunLoop* mainRunLoop() { return objc::send<RunLoop*>("NSRunLoop"_cls, "mainRunLoop"_sel); }
    static RunLoop* currentRunLoop() { return objc::send<RunLoop*>("NSRunLoop"_cls, "currentRunLoop"_sel); }

    // Runs the loop until the date (anything answering timeIntervalSinceNow).
    void runUntilDate(Date* limitDate) { objc::send<void>(this, "runUntilDate:"_sel, objc::asId(limitDate)); }
    void run() { objc::send<void>(this, "run"_sel); }
};

// Registers NSRunLoop and NSObject's delayed perform (a category). Called by
// Foundation's registration at load; runs once.
void registerRunLoop();

}  // namespace NS
