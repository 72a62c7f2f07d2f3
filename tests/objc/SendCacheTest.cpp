// The send's implementation cache: every way of changing what a message
// runs is seen by the very next send, whichever thread cached the old
// implementation, and sends that share cache slots never answer for each
// other.
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
long classAnswer(id, SEL) { return 10; }

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

class SendCacheTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(SendCacheTest, IsActiveInThisProcess) {
    // Otherwise the cases below would pass without testing the cache.
    EXPECT_TRUE(objc::detail::sendCacheActive());
}

TEST_F(SendCacheTest, EveryChangeOfAMethodIsSeenByTheNextSend) {
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

TEST_F(SendCacheTest, AChangeOnOneThreadIsSeenByAnotherThatCachedTheOldImplementation) {
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

// More classes than the table has slots, each answering its own number
// under one selector, sent in rounds: slots are shared and overwritten, and
// every answer must still be the receiver's own.
template <int N>
long numbered(id, SEL) {
    return N;
}
template <int... N>
std::vector<Class> numberedClasses(std::integer_sequence<int, N...>) {
    return {objc::ClassBuilder(("CacheNumbered" + std::to_string(N)).c_str(), "NSObject"_cls)
                .method("number", &numbered<N>)
                .classMethod("number", &classAnswer)
                .build()...};
}

TEST_F(SendCacheTest, ClassesSharingSlotsAnswerForThemselves) {
    constexpr int kClasses = 300;
    static_assert(kClasses > int(objc::detail::kSendCacheSize));
    std::vector<Class> classes = numberedClasses(std::make_integer_sequence<int, kClasses>());
    std::vector<id> objects;
    for (Class c : classes) objects.push_back(make(c));
    int wrong = 0;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < kClasses; ++i) {
            wrong += objc::send<long>(objects[i], "number"_sel) != i;
            // The same selector sent to the class is its class method.
            wrong += objc::send<long>(classes[i], "number"_sel) != 10;
        }
    }
    EXPECT_EQ(wrong, 0);
    for (id o : objects) objc::release(o);
}

}  // namespace
