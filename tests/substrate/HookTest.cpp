#include <Foundation/NSObject.h>
#include <gtest/gtest.h>
#include <substrate.h>

#include <cstdlib>
#include <string>

namespace {

struct Big {
    double x, y, w, h;
};
struct Pair {
    double a, b;
};

}  // namespace

template <>
struct objc::Encoding<Big> {
    static constexpr const char* value = "{Big=dddd}";
};
template <>
struct objc::Encoding<Pair> {
    static constexpr const char* value = "{Pair=dd}";
};

namespace {

// How often each implementation ran since the test began.
struct Calls {
    int base = 0, sub = 0, baseHook = 0, subHook = 0;
};
Calls calls;
IMP savedBase = nullptr;
IMP savedSub = nullptr;

int baseValue(id, SEL) { return ++calls.base, 1; }
int subOwn(id, SEL) { return ++calls.sub, 2; }
int baseOwn(id, SEL) { return ++calls.base, 3; }
int subHookValue(id self, SEL s) { return ++calls.subHook, 100 + objc::callImp<int>(savedSub, self, s); }
int baseHookValue(id self, SEL s) { return ++calls.baseHook, 1000 + objc::callImp<int>(savedBase, self, s); }

// Eight integers and ten doubles: the last two of each kind travel on the
// stack, the others in every argument register there is.
double many(id, SEL, long a, long b, long c, long d, long e, long f, double g, double h, double i, double j, double k,
            double l, double m, double n, double o, double p) {
    ++calls.base;
    return double(a) + 2.0 * double(b) + 3.0 * double(c) + 4.0 * double(d) + 5.0 * double(e) + 6.0 * double(f) + 7 * g +
           8 * h + 9 * i + 10 * j + 11 * k + 12 * l + 13 * m + 14 * n + 15 * o + 16 * p;
}
double manyHook(id self, SEL s, long a, long b, long c, long d, long e, long f, double g, double h, double i, double j,
                double k, double l, double m, double n, double o, double p) {
    ++calls.subHook;
    return objc::callImp<double>(savedSub, self, s, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p);
}

Big baseRect(id self, SEL, double by) {
    ++calls.base;
    return Big{by, 2 * by, 3 * by, double(reinterpret_cast<std::uintptr_t>(self) & 0xFFFF)};
}
Big rectHook(id self, SEL s, double by) {
    ++calls.subHook;
    Big b = objc::callImp<Big>(savedSub, self, s, by);
    b.x += 0.5;
    return b;
}
Pair basePair(id, SEL, double a) { return ++calls.base, Pair{a, -a}; }
Pair pairHook(id self, SEL s, double a) { return ++calls.subHook, objc::callImp<Pair>(savedSub, self, s, a * 2); }

struct Classes {
    Class base, sub, leaf;
};

// Hooks last for the process, so each test hooks classes of its own.
Classes makeClasses() {
    static int serial = 0;
    std::string n = std::to_string(++serial);
    Class base = objc::ClassBuilder(("HookBase" + n).c_str(), "NSObject"_cls)
                     .method("value", &baseValue)
                     .method("own", &baseOwn)
                     .method("many:::::::::::::::", &many)
                     .method("rect:", &baseRect)
                     .method("pair:", &basePair)
                     .build();
    Class sub = objc::ClassBuilder(("HookSub" + n).c_str(), base).method("own", &subOwn).build();
    Class leaf = objc::ClassBuilder(("HookLeaf" + n).c_str(), sub).build();
    return {base, sub, leaf};
}

bool definesItself(Class cls, SEL s) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    bool found = false;
    for (unsigned int i = 0; i < count; ++i) found = found || sel_isEqual(method_getName(methods[i]), s);
    std::free(methods);
    return found;
}

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls = {};
        savedBase = savedSub = nullptr;
        c = makeClasses();
        base = objc::autorelease(objc::send<id>(c.base, "new"_sel));
        sub = objc::autorelease(objc::send<id>(c.sub, "new"_sel));
        leaf = objc::autorelease(objc::send<id>(c.leaf, "new"_sel));
    }
    objc::AutoreleasePool pool;
    Classes c{};
    id base = nil, sub = nil, leaf = nil;
};

TEST_F(HookTest, MethodDefinedOnTheClassIsReplacedAndTheOldOneSaved) {
    IMP before = method_getImplementation(class_getInstanceMethod(c.sub, "own"_sel));
    objc::send<int>(sub, "own"_sel);  // fills the dispatch cache before the hook
    calls = {};
    MSHookMessageEx(c.sub, "own"_sel, objc::detail::toImp(&subHookValue), &savedSub);
    EXPECT_EQ(savedSub, before);
    EXPECT_EQ(objc::send<int>(sub, "own"_sel), 102);
    EXPECT_EQ(calls.subHook, 1);
    EXPECT_EQ(calls.sub, 1);
    EXPECT_EQ(calls.base, 0);
    EXPECT_EQ(objc::send<int>(base, "own"_sel), 3);  // the superclass keeps its own
}

TEST_F(HookTest, InheritedMethodIsAddedAndFollowsTheSuperclassAtCallTime) {
    objc::send<int>(sub, "value"_sel);
    calls = {};
    MSHookMessageEx(c.sub, "value"_sel, objc::detail::toImp(&subHookValue), &savedSub);
    ASSERT_NE(savedSub, nullptr);
    EXPECT_NE(savedSub, objc::detail::toImp(&baseValue));
    EXPECT_TRUE(definesItself(c.sub, "value"_sel));
    EXPECT_EQ(objc::send<int>(sub, "value"_sel), 101);
    EXPECT_EQ(objc::send<int>(leaf, "value"_sel), 101);
    EXPECT_EQ(objc::send<int>(base, "value"_sel), 1);
    EXPECT_EQ(calls.subHook, 2);
    EXPECT_EQ(calls.base, 3);

    // The superclass is hooked afterwards: the saved implementation of the
    // subclass now reaches the superclass's hook, which falls back in turn.
    calls = {};
    MSHookMessageEx(c.base, "value"_sel, objc::detail::toImp(&baseHookValue), &savedBase);
    EXPECT_EQ(savedBase, objc::detail::toImp(&baseValue));
    EXPECT_EQ(objc::send<int>(sub, "value"_sel), 1101);
    EXPECT_EQ(calls.subHook, 1);
    EXPECT_EQ(calls.baseHook, 1);
    EXPECT_EQ(calls.base, 1);
}

TEST_F(HookTest, HookingTheSuperclassReachesSubclassesAlreadyMessaged) {
    // A class method the subclasses inherit too. In GNU's runtime a
    // subclass's dispatch table shares the superclass's blocks of entries
    // until the subclass puts a method of its own into one, and only a block
    // of its own keeps the old implementation when the superclass's method
    // changes. So the subclass gets class methods of its own under the
    // selectors registered just before and just after the hooked one, one of
    // which shares its block (as "own" does for "value").
    SEL before = sel_registerName("classValueBefore");
    SEL classValue = "classValue"_sel;
    SEL after = sel_registerName("classValueAfter");
    class_addMethod(object_getClass(reinterpret_cast<id>(c.base)), classValue, objc::detail::toImp(&baseValue), "i@:");
    for (SEL own : {before, after}) {
        class_addMethod(object_getClass(reinterpret_cast<id>(c.sub)), own, objc::detail::toImp(&subOwn), "i@:");
    }
    // Every class answers once first, so each has its dispatch table made
    // with the implementation of the time.
    for (id receiver : {base, sub, leaf}) ASSERT_EQ(objc::send<int>(receiver, "value"_sel), 1);
    for (Class cls : {c.base, c.sub, c.leaf}) ASSERT_EQ(objc::send<int>(cls, "classValue"_sel), 1);
    calls = {};
    MSHookMessageEx(c.base, "value"_sel, objc::detail::toImp(&baseHookValue), &savedBase);
    EXPECT_EQ(objc::send<int>(base, "value"_sel), 1001);
    EXPECT_EQ(objc::send<int>(sub, "value"_sel), 1001);
    EXPECT_EQ(objc::send<int>(leaf, "value"_sel), 1001);
    EXPECT_EQ(calls.baseHook, 3);

    IMP savedClass = nullptr;
    MSHookMessageEx(object_getClass(reinterpret_cast<id>(c.base)), "classValue"_sel,
                    objc::detail::toImp(&baseHookValue), &savedClass);
    EXPECT_EQ(savedClass, objc::detail::toImp(&baseValue));
    savedBase = savedClass;
    for (Class cls : {c.base, c.sub, c.leaf}) {
        EXPECT_EQ(objc::send<int>(cls, "classValue"_sel), 1001) << class_getName(cls);
    }
}

TEST_F(HookTest, NothingChangesForANullClassOrAnUnknownSelector) {
    IMP sentinel = objc::detail::toImp(&baseOwn);
    struct Case {
        const char* what;
        Class cls;
        SEL selector;
    } cases[] = {
        {"null class", Nil, "value"_sel},
        {"null selector", c.sub, nullptr},
        {"unknown selector", c.sub, sel_registerName("noSuchMethodAnywhere")},
    };
    for (const auto& k : cases) {
        IMP slot = sentinel;
        MSHookMessageEx(k.cls, k.selector, objc::detail::toImp(&subHookValue), &slot);
        EXPECT_EQ(slot, sentinel) << k.what;
    }
    EXPECT_FALSE(objc::respondsTo(sub, sel_registerName("noSuchMethodAnywhere")));
    EXPECT_FALSE(definesItself(c.sub, "value"_sel));
    EXPECT_EQ(objc::send<int>(sub, "value"_sel), 1);
    EXPECT_EQ(calls.subHook, 0);
}

TEST_F(HookTest, InheritedMethodKeepsEveryArgumentRegisterAndStackArgument) {
    MSHookMessageEx(c.sub, "many:::::::::::::::"_sel, objc::detail::toImp(&manyHook), &savedSub);
    double got = objc::send<double>(sub, "many:::::::::::::::"_sel, 1L, 2L, 3L, 4L, 5L, 6L, 1.5, 2.5, 3.5, 4.5, 5.5,
                                    6.5, 7.5, 8.5, 9.5, 10.5);
    double expected = many(nil, nullptr, 1, 2, 3, 4, 5, 6, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5, 10.5);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(calls.subHook, 1);
    EXPECT_EQ(calls.base, 2);  // once through the hook, once for `expected`
}

TEST_F(HookTest, InheritedStructReturningMethodsReachTheSuperclass) {
    // 32 bytes come back through a hidden pointer; 16 in two registers.
    MSHookMessageEx(c.sub, "rect:"_sel, objc::detail::toImp(&rectHook), &savedSub);
    Big b = objc::send<Big>(sub, "rect:"_sel, 2.0);
    EXPECT_EQ(b.x, 2.5);
    EXPECT_EQ(b.y, 4.0);
    EXPECT_EQ(b.w, 6.0);
    EXPECT_EQ(b.h, double(reinterpret_cast<std::uintptr_t>(sub) & 0xFFFF));  // the receiver arrived intact

    IMP pairSlot = nullptr;
    std::swap(savedSub, pairSlot);
    MSHookMessageEx(c.sub, "pair:"_sel, objc::detail::toImp(&pairHook), &savedSub);
    Pair p = objc::send<Pair>(sub, "pair:"_sel, 3.0);
    EXPECT_EQ(p.a, 6.0);
    EXPECT_EQ(p.b, -6.0);
    EXPECT_EQ(calls.subHook, 2);
    EXPECT_EQ(calls.base, 2);
}

TEST_F(HookTest, ASecondHookSavesTheFirst) {
    MSHookMessageEx(c.sub, "own"_sel, objc::detail::toImp(&subHookValue), &savedSub);
    MSHookMessageEx(c.sub, "own"_sel, objc::detail::toImp(&baseHookValue), &savedBase);
    EXPECT_EQ(savedBase, objc::detail::toImp(&subHookValue));
    EXPECT_EQ(objc::send<int>(sub, "own"_sel), 1102);  // second hook -> first hook -> original
}

}  // namespace
