// Every way of changing what a message runs (a hook, a category, a method
// added to a class already sent to) is seen by the very next send, on the
// thread that changed it and on one that had sent the message before.
#include <Foundation/NSObject.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

long one(id, SEL) { return 1; }
long two(id, SEL) { return 2; }
long three(id, SEL) { return 3; }

// A fresh pair of classes for each case: Base defines -value (1) and -other
// (2); Sub inherits both.
struct Pair {
    Class base;
    Class sub;
};
Pair makePair(const std::string& name) {
    Class base = objc::ClassBuilder(("CacheBase" + name).c_str(), "NSObject"_cls)
                     .method("value", &one)
                     .method("other", &two)
                     .build();
    Class sub = objc::ClassBuilder(("CacheSub" + name).c_str(), base).build();
    return {base, sub};
}

id make(Class cls) { return objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel); }

class DispatchTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(DispatchTest, EveryChangeOfAMethodIsSeenByTheNextSend) {
    struct Case {
        const char* name;
        std::function<void(const Pair&)> change;
        long baseWants, subWants;
    } cases[] = {
        {"SetImplementation",
         [](const Pair& p) {
             method_setImplementation(class_getInstanceMethod(p.base, "value"_sel), objc::detail::toImp(&three));
         },
         3, 3},
        {"ReplaceOnBase",
         [](const Pair& p) { class_replaceMethod(p.base, "value"_sel, objc::detail::toImp(&three), "l@:"); }, 3, 3},
        {"OverrideAddedToSub",
         [](const Pair& p) { class_addMethod(p.sub, "value"_sel, objc::detail::toImp(&three), "l@:"); }, 1, 3},
        {"Exchange",
         [](const Pair& p) {
             method_exchangeImplementations(class_getInstanceMethod(p.base, "value"_sel),
                                            class_getInstanceMethod(p.base, "other"_sel));
         },
         2, 2},
        {"ExtenderReplaces", [](const Pair& p) { objc::ClassExtender(p.base).method("value", &three); }, 3, 3},
    };
    for (const Case& c : cases) {
        Pair p = makePair(c.name);
        id base = make(p.base), sub = make(p.sub);
        // Sent twice, so that the second answer already comes from the cache.
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(objc::send<long>(base, "value"_sel), 1) << c.name;
            ASSERT_EQ(objc::send<long>(sub, "value"_sel), 1) << c.name;
        }
        c.change(p);
        EXPECT_EQ(objc::send<long>(base, "value"_sel), c.baseWants) << c.name;
        EXPECT_EQ(objc::send<long>(sub, "value"_sel), c.subWants) << c.name;
        objc::release(base);
        objc::release(sub);
    }
}

TEST_F(DispatchTest, AChangeOnOneThreadIsSeenByAnotherThatSentTheMessageBefore) {
    Pair p = makePair("Threads");
    id object = make(p.base);
    std::atomic<int> step{0};
    long before = 0, after = 0;
    std::thread other([&] {
        objc::AutoreleasePool threadPool;
        objc::send<long>(object, "value"_sel);
        before = objc::send<long>(object, "value"_sel);
        step = 1;
        while (step.load() != 2) std::this_thread::yield();
        after = objc::send<long>(object, "value"_sel);
    });
    while (step.load() != 1) std::this_thread::yield();
    class_replaceMethod(p.base, "value"_sel, objc::detail::toImp(&three), "l@:");
    step = 2;
    other.join();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 3);
    objc::release(object);
}

}  // namespace
