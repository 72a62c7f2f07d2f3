#include <Foundation/NSRunLoop.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace loop = NS::loop;

namespace {

// A runtime object that counts its deallocations and records what it is sent.
struct Probe {
    static inline int deallocs = 0;
    static inline std::vector<std::pair<id, id>> pokes;
};

void probeDealloc(id self, SEL s) {
    ++Probe::deallocs;
    objc::sendSuper<void>(self, "RunLoopProbe"_cls, s);
}
void probePoke(id self, SEL, id argument) { Probe::pokes.emplace_back(self, argument); }
// Answers like a date a fixed distance in the future.
double quarterSecondFromNow(id, SEL) { return 0.25; }

Class probeClass() {
    static Class c = objc::ClassBuilder("RunLoopProbe", "NSObject"_cls)
                         .method("dealloc", &probeDealloc)
                         .method("poke:", &probePoke)
                         .method("timeIntervalSinceNow", &quarterSecondFromNow)
                         .build();
    return c;
}

id newProbe() { return objc::send<id>(probeClass(), "new"_sel); }

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        loop::useVirtualClock();
        loop::cancelAll();
        Probe::deallocs = 0;
        Probe::pokes.clear();
        start = loop::now();
    }
    void TearDown() override { loop::cancelAll(); }

    objc::AutoreleasePool pool;
    double start = 0;
};

TEST_F(RunLoopTest, TimersRunInDueOrderAndInScheduleOrderForEqualTimes) {
    struct Case {
        double delay;
        const char* name;
    } cases[] = {{0.3, "c"}, {0.1, "a"}, {0.2, "b1"}, {-1.0, "negative"}, {0.2, "b2"}, {0.0, "zero"}, {0.2, "b3"}};
    std::vector<std::string> order;
    std::vector<double> seen;
    for (const auto& c : cases) {
        loop::schedule(c.delay, [&order, &seen, name = c.name] {
            order.push_back(name);
            seen.push_back(loop::now());
        });
    }
    loop::runFor(1.0);
    EXPECT_EQ(order, (std::vector<std::string>{"negative", "zero", "a", "b1", "b2", "b3", "c"}));
    std::vector<double> expected = {0, 0, 0.1, 0.2, 0.2, 0.2, 0.3};
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_DOUBLE_EQ(seen[i], start + expected[i]) << order[i];
    EXPECT_DOUBLE_EQ(loop::now(), start + 1.0);
}

TEST_F(RunLoopTest, RunForRunsWhatIsDueByTheEndOfTheWindowOnly) {
    int first = 0, second = 0;
    loop::schedule(0.5, [&] { ++first; });
    loop::schedule(0.5000001, [&] { ++second; });
    loop::runFor(0.5);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(loop::pendingTimers(), 1u);
    EXPECT_DOUBLE_EQ(loop::now(), start + 0.5);
    loop::runFor(0.5);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(loop::pendingTimers(), 0u);
}

TEST_F(RunLoopTest, TimerScheduledFromACallbackWaitsForTheNextTurn) {
    // Each turn drains its pool, so an object autoreleased in one turn is gone
    // in the next: the probe shows which turn a callback runs in.
    std::vector<std::string> log;
    loop::schedule(0.1, [&] {
        objc::autorelease(newProbe());
        log.push_back("a");
        loop::schedule(0, [&] { log.push_back(Probe::deallocs == 1 ? "later:next turn" : "later:same turn"); });
        loop::schedule(1.0, [&] { log.push_back("beyond the window"); });
    });
    loop::schedule(0.1, [&] { log.push_back(Probe::deallocs == 0 ? "b:same turn" : "b:next turn"); });
    loop::runFor(0.5);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b:same turn", "later:next turn"}));
    EXPECT_EQ(loop::pendingTimers(), 1u);
}

TEST_F(RunLoopTest, CancelledTimersDoNotRunAndLoseTheirFunction) {
    auto token = std::make_shared<int>(0);
    int ran = 0;
    loop::TimerId doomed = loop::schedule(0.2, [token, &ran] { ++ran; });
    EXPECT_EQ(token.use_count(), 2);
    loop::cancel(doomed);
    EXPECT_EQ(token.use_count(), 1);

    // A callback cancels a later timer of the same turn, and an unknown id and
    // its own (already run) id are ignored.
    loop::TimerId self = 0, sibling = 0;
    self = loop::schedule(0.1, [&] {
        ++ran;
        loop::cancel(sibling);
        loop::cancel(self);
        loop::cancel(987654321);
    });
    sibling = loop::schedule(0.1, [&] { ran += 100; });
    int kept = 0;
    loop::schedule(0.1, [&] { ++kept; });
    loop::runFor(1.0);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(loop::pendingTimers(), 0u);
}

TEST_F(RunLoopTest, RunUntilStopsWhenDoneOrAtTheTimeout) {
    bool flag = false;
    loop::schedule(0.3, [&] { flag = true; });
    loop::schedule(0.4, [] {});
    EXPECT_TRUE(loop::runUntil([&] { return flag; }, 1.0));
    EXPECT_DOUBLE_EQ(loop::now(), start + 0.3);
    EXPECT_EQ(loop::pendingTimers(), 1u);

    EXPECT_FALSE(loop::runUntil([] { return false; }, 2.0));
    EXPECT_DOUBLE_EQ(loop::now(), start + 2.3);
    EXPECT_EQ(loop::pendingTimers(), 0u);

    // Already done: nothing runs and the clock stays.
    loop::schedule(0, [] { ADD_FAILURE() << "ran although done"; });
    EXPECT_TRUE(loop::runUntil([] { return true; }, 1.0));
    EXPECT_DOUBLE_EQ(loop::now(), start + 2.3);
}

class RunLoopSourceTest : public RunLoopTest {
protected:
    void SetUp() override {
        RunLoopTest::SetUp();
        ASSERT_EQ(::pipe(fds), 0);
    }
    void TearDown() override {
        loop::removeSource(fds[0]);
        ::close(fds[0]);
        ::close(fds[1]);
        RunLoopTest::TearDown();
    }
    void send(char c) { ASSERT_EQ(::write(fds[1], &c, 1), 1); }
    std::string drain() {
        char buffer[16];
        ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        return n > 0 ? std::string(buffer, std::size_t(n)) : std::string();
    }
    int fds[2] = {-1, -1};
};

TEST_F(RunLoopSourceTest, ReadableSourcesAreServedInTheirTurnAndMayRemoveThemselves) {
    std::string got;
    loop::addSource(fds[0], [&] {
        got += drain();
        if (got.size() >= 2) loop::removeSource(fds[0]);
    });
    loop::runFor(0);
    EXPECT_EQ(got, "");
    send('x');
    loop::runFor(0);
    EXPECT_EQ(got, "x");
    send('y');
    send('z');
    loop::runFor(0);
    EXPECT_EQ(got, "xyz");
    send('w');
    loop::runFor(0);
    EXPECT_EQ(got, "xyz");

    // A registered source does not make a virtual runFor wait in real time
    // (an hour here: the test would time out).
    loop::addSource(fds[0], [&] { got += drain(); });
    loop::runFor(3600);
    EXPECT_EQ(got, "xyzw");
}

TEST_F(RunLoopSourceTest, VirtualClockWaitsInRealTimeForDataFromElsewhere) {
    std::string got;
    loop::addSource(fds[0], [&] { got += drain(); });
    std::thread writer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        send('z');
    });
    EXPECT_TRUE(loop::runUntil([&] { return !got.empty(); }, 10.0));
    writer.join();
    EXPECT_EQ(got, "z");
}

TEST_F(RunLoopTest, RunServesUntilStop) {
    std::vector<int> ran;
    loop::schedule(0.1, [&] { ran.push_back(1); });
    loop::schedule(0.2, [&] {
        ran.push_back(2);
        loop::stop();
    });
    loop::schedule(0.3, [&] { ran.push_back(3); });
    loop::run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_DOUBLE_EQ(loop::now(), start + 0.2);
    EXPECT_EQ(loop::pendingTimers(), 1u);

    // A stop asked for before run() ends the next run() after one turn...
    loop::stop();
    loop::run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    // ...and is used up by it: the virtual loop now runs the last timer and
    // returns once nothing can happen any more.
    loop::run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(RunLoopTest, DelayedPerformHoldsTargetAndArgumentUntilItRuns) {
    id target = newProbe();
    id argument = newProbe();
    objc::cast<NS::Object>(target)->performSelector("poke:"_sel, objc::cast<NS::Object>(argument), 0.2);
    objc::release(target);
    objc::release(argument);
    loop::runFor(0.1);
    EXPECT_EQ(Probe::deallocs, 0);
    EXPECT_TRUE(Probe::pokes.empty());
    loop::runFor(0.1);
    ASSERT_EQ(Probe::pokes.size(), 1u);
    EXPECT_EQ(Probe::pokes[0].first, target);
    EXPECT_EQ(Probe::pokes[0].second, argument);
    EXPECT_EQ(Probe::deallocs, 2);

    // A perform that never runs lets go of what it held when it is dropped.
    target = newProbe();
    objc::cast<NS::Object>(target)->performSelector("poke:"_sel, nullptr, 0.2);
    objc::release(target);
    EXPECT_EQ(Probe::deallocs, 2);
    loop::cancelAll();
    EXPECT_EQ(Probe::deallocs, 3);
    EXPECT_EQ(Probe::pokes.size(), 1u);
}

TEST_F(RunLoopTest, NSRunLoopRunsTheMainLoopUntilADate) {
    NS::RunLoop* main = NS::RunLoop::mainRunLoop();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(NS::RunLoop::currentRunLoop(), main);
    int ran = 0;
    loop::schedule(0.25, [&] { ++ran; });
    loop::schedule(0.26, [&] { ++ran; });
    id date = objc::autorelease(newProbe());
    main->runUntilDate(objc::cast<NS::Date>(date));
    EXPECT_EQ(ran, 1);
    EXPECT_DOUBLE_EQ(loop::now(), start + 0.25);
}

TEST_F(RunLoopTest, RealClockWaitsAndNeverGoesBackwards) {
    loop::useVirtualClock(false);
    double before = loop::now();
    bool ran = false;
    loop::schedule(0.01, [&] { ran = true; });
    loop::runFor(0.03);
    EXPECT_TRUE(ran);
    EXPECT_GE(loop::now() - before, 0.03);

    // Far ahead on the virtual clock, then back: time goes on from there.
    loop::useVirtualClock();
    loop::runFor(1000);
    double virtualEnd = loop::now();
    loop::useVirtualClock(false);
    EXPECT_GE(loop::now(), virtualEnd);
    loop::useVirtualClock();
}

}  // namespace
