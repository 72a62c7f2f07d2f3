// The main run loop. Timers are kept in one ordered map keyed by (due time,
// id): ids grow with every schedule, so equal due times keep their order.
// Sources are polled with poll(2) while the loop waits for the next timer.
//
// Time is counted in whole nanoseconds, so that windows add up exactly: two
// runFor(0.1) reach a timer scheduled 0.2 s ahead, which sums of doubles
// would miss by a rounding step.
#include <Foundation/NSRunLoop.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace NS {
namespace loop {
namespace {

using Ticks = std::int64_t;
using Key = std::pair<Ticks, TimerId>;

constexpr Ticks kForever = std::numeric_limits<Ticks>::max();
// Longer delays are cut to about a century, far beyond any process.
constexpr double kLongestDelay = 3e9;

Ticks toTicks(double seconds) {
    // NaN compares false with everything: it counts as no time too.
    if (!(seconds > 0)) return 0;
    return static_cast<Ticks>(std::llround(std::min(seconds, kLongestDelay) * 1e9));
}
double toSeconds(Ticks t) { return static_cast<double>(t) / 1e9; }

struct Loop {
    std::map<Key, std::function<void()>> timers;
    std::unordered_map<TimerId, Ticks> dueOf;
    TimerId nextId = 1;

    bool virtualClock = false;
    Ticks virtualNow = 0;
    // Added to the steady clock so that switching back from the virtual clock
    // never makes time go backwards.
    Ticks realOffset = 0;

    // Held through shared pointers so that a callback that removes its own
    // source stays alive until it returns.
    std::map<int, std::shared_ptr<std::function<void()>>> sources;

    bool stopRequested = false;
};

Loop& theLoop() {
    // Never destroyed: timers may still be pending when the process exits, and
    // their functions may hold objects whose release needs the runtime.
    static Loop* loop = new Loop;
    return *loop;
}

Ticks steadyTicks() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
}

Ticks nowTicks() {
    Loop& l = theLoop();
    return l.virtualClock ? l.virtualNow : l.realOffset + steadyTicks();
}

Ticks nextDue() {
    Loop& l = theLoop();
    return l.timers.empty() ? kForever : l.timers.begin()->first.first;
}

// One turn of timers: everything due by now that existed when the turn began.
// Returns whether anything ran.
bool runDueTimers() {
    Loop& l = theLoop();
    const Ticks t = nowTicks();
    const TimerId firstOfNextTurn = l.nextId;
    bool ran = false;
    objc::AutoreleasePool pool;
    auto it = l.timers.begin();
    while (it != l.timers.end() && it->first.first <= t) {
        if (it->first.second >= firstOfNextTurn) {
            ++it;
            continue;
        }
        Key key = it->first;
        std::function<void()> fn = std::move(it->second);
        l.timers.erase(it);
        l.dueOf.erase(key.second);
        fn();
        ran = true;
        // The callback may have scheduled or cancelled timers; everything it
        // added sorts after `key`, so the walk goes on from there.
        it = l.timers.upper_bound(key);
    }
    return ran;
}

// Waits up to `timeout` of real time for a source to become readable and
// serves every readable one. Without sources it only sleeps. Returns whether a
// source was served.
bool serveSources(Ticks timeout) {
    Loop& l = theLoop();
    if (l.sources.empty()) {
        if (timeout > 0 && timeout != kForever) std::this_thread::sleep_for(std::chrono::nanoseconds(timeout));
        return false;
    }
    std::vector<pollfd> fds;
    fds.reserve(l.sources.size());
    for (const auto& [fd, fn] : l.sources) fds.push_back(pollfd{fd, POLLIN, 0});
    int ms = -1;
    if (timeout != kForever) {
        // Rounded up, so that a wait shorter than a millisecond does not spin.
        Ticks t = std::max<Ticks>(timeout, 0);
        ms = static_cast<int>(std::min<Ticks>((t + 999'999) / 1'000'000, 1'000'000'000));
    }
    int n = ::poll(fds.data(), fds.size(), ms);
    if (n <= 0) return false;  // timeout, or interrupted by a signal
    bool served = false;
    objc::AutoreleasePool pool;
    for (const pollfd& p : fds) {
        if (p.revents == 0) continue;
        if (p.revents & POLLNVAL) objc::fatal("run loop source %d was closed while still registered", p.fd);
        auto found = l.sources.find(p.fd);
        if (found == l.sources.end()) continue;  // removed by an earlier callback of this turn
        std::shared_ptr<std::function<void()>> fn = found->second;
        (*fn)();
        served = true;
    }
    return served;
}

void advanceVirtualClock(Ticks to) {
    Loop& l = theLoop();
    l.virtualNow = std::max(l.virtualNow, to);
}

// Saturating, so that the far future stays the far future.
Ticks later(Ticks t, Ticks by) { return t > kForever - by ? kForever : t + by; }

}  // namespace

double now() { return toSeconds(nowTicks()); }

TimerId schedule(double delaySeconds, std::function<void()> fn) {
    if (!fn) objc::fatal("scheduling an empty timer function");
    Loop& l = theLoop();
    TimerId id = l.nextId++;
    Ticks due = later(nowTicks(), toTicks(delaySeconds));
    l.timers.emplace(Key{due, id}, std::move(fn));
    l.dueOf.emplace(id, due);
    return id;
}

void cancel(TimerId id) {
    Loop& l = theLoop();
    auto found = l.dueOf.find(id);
    if (found == l.dueOf.end()) return;
    Key key{found->second, id};
    l.dueOf.erase(found);
    // Moved out before destruction: the function's captures may cancel other
    // timers while they are destroyed.
    auto node = l.timers.extract(key);
}

void cancelAll() {
    Loop& l = theLoop();
    auto timers = std::move(l.timers);
    l.timers.clear();
    l.dueOf.clear();
}

void useVirtualClock(bool on) {
    Loop& l = theLoop();
    if (on == l.virtualClock) return;
    if (on) {
        l.virtualNow = nowTicks();
        l.virtualClock = true;
    } else {
        l.realOffset = std::max(l.realOffset, l.virtualNow - steadyTicks());
        l.virtualClock = false;
    }
}

bool usesVirtualClock() { return theLoop().virtualClock; }

namespace {

// Both runFor and runUntil. On the virtual clock only runUntil waits for the
// sources in real time: runFor returns at once, serving what is readable.
bool runLoopUntil(const std::function<bool()>& done, double timeoutSeconds, bool waitForSources) {
    Loop& l = theLoop();
    if (done()) return true;
    const Ticks timeout = toTicks(timeoutSeconds);
    const Ticks deadline = later(nowTicks(), timeout);

    if (l.virtualClock) {
        const Ticks realDeadline = later(steadyTicks(), timeout);
        for (;;) {
            serveSources(0);
            if (done()) return true;
            Ticks due = nextDue();
            if (due <= deadline) {
                advanceVirtualClock(due);
                runDueTimers();
                if (done()) return true;
                continue;
            }
            // No timer left in the window: what can still happen comes from
            // other processes through the sources, in real time.
            Ticks remaining = realDeadline - steadyTicks();
            if (!waitForSources || l.sources.empty() || remaining <= 0) break;
            serveSources(remaining);
        }
        advanceVirtualClock(deadline);
        return done();
    }

    for (;;) {
        const Ticks t = nowTicks();
        runDueTimers();
        if (done()) return true;
        if (t >= deadline) return false;
        Ticks wakeUp = std::min(nextDue(), deadline);
        serveSources(std::max<Ticks>(wakeUp - nowTicks(), 0));
        if (done()) return true;
    }
}

}  // namespace

void runFor(double seconds) {
    runLoopUntil([] { return false; }, seconds, false);
}

bool runUntil(std::function<bool()> done, double timeoutSeconds) { return runLoopUntil(done, timeoutSeconds, true); }

void addSource(int fd, std::function<void()> onReadable) {
    if (fd < 0 || !onReadable) objc::fatal("adding an invalid run loop source (fd %d)", fd);
    theLoop().sources[fd] = std::make_shared<std::function<void()>>(std::move(onReadable));
}

void removeSource(int fd) { theLoop().sources.erase(fd); }

void run() {
    Loop& l = theLoop();
    for (;;) {
        runDueTimers();
        if (l.stopRequested) break;
        Ticks due = nextDue();
        if (l.virtualClock) {
            serveSources(0);
            if (l.stopRequested) break;
            if (due != kForever) {
                advanceVirtualClock(due);
                continue;
            }
            if (l.sources.empty()) break;  // nothing could ever happen again
            serveSources(kForever);
        } else {
            serveSources(due == kForever ? kForever : std::max<Ticks>(due - nowTicks(), 0));
        }
        if (l.stopRequested) break;
    }
    l.stopRequested = false;
}

void stop() { theLoop().stopRequested = true; }

std::size_t pendingTimers() { return theLoop().timers.size(); }

}  // namespace loop

namespace {

id mainLoopObject = nil;

id classMainRunLoop(Class, SEL) { return mainLoopObject; }

void runUntilDate(id, SEL, id limitDate) {
    // Only the date's distance from now matters, so any object that answers
    // timeIntervalSinceNow serves.
    double seconds = objc::send<double>(limitDate, "timeIntervalSinceNow"_sel);
    loop::runFor(seconds);
}

void runForever(id, SEL) { loop::run(); }

// The target and the argument stay retained while the perform is pending, and
// are released after it has run (or when it is cancelled).
struct PendingPerform {
    id target;
    id argument;
    SEL action;
    PendingPerform(id t, id a, SEL s) : target(objc::retain(t)), argument(objc::retain(a)), action(s) {}
    ~PendingPerform() {
        objc::release(argument);
        objc::release(target);
    }
    PendingPerform(const PendingPerform&) = delete;
    PendingPerform& operator=(const PendingPerform&) = delete;
};

void performAfterDelay(id self, SEL, SEL action, id argument, double delay) {
    auto pending = std::make_shared<PendingPerform>(self, argument, action);
    loop::schedule(delay, [pending] { objc::send<void>(pending->target, pending->action, pending->argument); });
}

}  // namespace

void registerRunLoop() {
    // The names are looked up directly rather than through the cached
    // literals: clang 14 crashes compiling those literals inside a lambda.
    static const bool registered = [] {
        registerRootClass();
        Class root = objc_getClass("NSObject");
        Class cls = objc::ClassBuilder("NSRunLoop", root)
                        .classMethod("mainRunLoop", &classMainRunLoop)
                        .classMethod("currentRunLoop", &classMainRunLoop)
                        .method("runUntilDate:", &runUntilDate)
                        .method("run", &runForever)
                        .build();
        mainLoopObject = objc::send<id>(objc::send<id>(cls, sel_registerName("alloc")), sel_registerName("init"));
        objc::ClassExtender(root).method("performSelector:withObject:afterDelay:", &performAfterDelay);
        return true;
    }();
    (void)registered;
}

}  // namespace NS
