#include <Foundation/NSArray.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <type_traits>

namespace {

struct Rect {
    double x, y, w, h;
};

}  // namespace

template <>
struct objc::Encoding<Rect> {
    static constexpr const char* value = "{Rect=dddd}";
};

namespace {

struct CounterState {
    int value = 41;
    std::string label = "fresh";
    static inline int destroyed = 0;
    ~CounterState() { ++destroyed; }
};

struct SubState {
    double scale = 2.5;
};

int add(id self, SEL, int a) { return objc::state<CounterState>(self).value += a; }
Rect grow(id, SEL, Rect r, double by) { return Rect{r.x - by, r.y - by, r.w + 2 * by, r.h + 2 * by}; }
double scale(id self, SEL) { return objc::state<SubState>(self).scale; }
int subAdd(id self, SEL s, int a) { return 1000 + objc::sendSuper<int>(self, "BridgeSub"_cls, s, a); }
id classFactory(Class self, SEL) { return objc::send<id>(objc::send<id>(self, "alloc"_sel), "init"_sel); }

Class counterClass() {
    static Class c = objc::ClassBuilder("BridgeCounter", "NSObject")
                         .state<CounterState>()
                         .method("add:", &add)
                         .method("grow:by:", &grow)
                         .classMethod("make", &classFactory)
                         .build();
    return c;
}

Class subClass() {
    counterClass();
    static Class c = objc::ClassBuilder("BridgeSub", "BridgeCounter")
                         .state<SubState>()
                         .method("add:", &subAdd)
                         .method("scale", &scale)
                         .build();
    return c;
}

// What an "any object" parameter (objc::AnyObject) takes: every kind of object
// pointer, and nothing else, not even when constructed explicitly. A row that
// does not hold names its type in the compiler's "required from" note.
class ProductView : public NS::Object {};  // a product's class over a wrapper
struct OpaqueRecord;                       // declared only, as CF's __CFString is

template <class From, bool converts>
struct AnyObjectRow {
    static_assert(std::is_convertible_v<From, objc::AnyObject> == converts,
                  "implicit conversion to objc::AnyObject differs from the table");
    static_assert(std::is_constructible_v<objc::AnyObject, From> == converts,
                  "explicit construction of objc::AnyObject differs from the table");
    static constexpr bool holds = true;
};
template <class... Rows>
inline constexpr bool tableHolds = (Rows::holds && ...);

static_assert(tableHolds<
              // Objects: wrapper pointers, const or not, of every depth of
              // derivation; the runtime's id and Class; nil; an owning Ref.
              AnyObjectRow<NS::Object*, true>,              //
              AnyObjectRow<const NS::Object*, true>,        //
              AnyObjectRow<NS::String*, true>,              //
              AnyObjectRow<const NS::String*, true>,        //
              AnyObjectRow<NS::String* const, true>,        //
              AnyObjectRow<NS::MutableArray*, true>,        //
              AnyObjectRow<const NS::MutableArray*, true>,  //
              AnyObjectRow<objc::Object*, true>,            //
              AnyObjectRow<const objc::Object*, true>,      //
              AnyObjectRow<ProductView*, true>,             //
              AnyObjectRow<id, true>,                       //
              AnyObjectRow<Class, true>,                    //
              AnyObjectRow<std::nullptr_t, true>,           //
              AnyObjectRow<Ref<NS::String>, true>,          //
              AnyObjectRow<const Ref<NS::String>&, true>,   //
              AnyObjectRow<Ref<NS::Object>&&, true>,        //
              // Not objects: untyped and C string pointers, other data
              // pointers (a state struct, a value struct, a struct only
              // declared, a runtime record, an id array, a pointer to an
              // object pointer), a Ref of a non-object, selectors,
              // implementations, integers.
              AnyObjectRow<void*, false>,              //
              AnyObjectRow<const void*, false>,        //
              AnyObjectRow<const char*, false>,        //
              AnyObjectRow<char*, false>,              //
              AnyObjectRow<int*, false>,               //
              AnyObjectRow<unsigned char*, false>,     //
              AnyObjectRow<CounterState*, false>,      //
              AnyObjectRow<Rect*, false>,              //
              AnyObjectRow<OpaqueRecord*, false>,      //
              AnyObjectRow<Method, false>,             //
              AnyObjectRow<const id*, false>,          //
              AnyObjectRow<NS::String**, false>,       //
              AnyObjectRow<Ref<NS::String>*, false>,   //
              AnyObjectRow<Ref<CounterState>, false>,  //
              AnyObjectRow<SEL, false>,                //
              AnyObjectRow<IMP, false>,                //
              AnyObjectRow<NSInteger, false>,          //
              AnyObjectRow<NSUInteger, false>,         //
              AnyObjectRow<int, false>,                //
              AnyObjectRow<BOOL, false>>);

class BridgeTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(BridgeTest, MessageToNilReturnsZeroOfEveryResultType) {
    id none = nil;
    EXPECT_EQ(objc::send<id>(none, "anything"_sel), nil);
    EXPECT_EQ(objc::send<int>(none, "anything"_sel), 0);
    EXPECT_EQ(objc::send<BOOL>(none, "anything"_sel), NO);
    EXPECT_EQ(objc::send<double>(none, "anything"_sel, 3.0), 0.0);
    Rect r = objc::send<Rect>(none, "grow:by:"_sel, Rect{1, 2, 3, 4}, 1.0);
    EXPECT_EQ(r.x, 0.0);
    EXPECT_EQ(r.h, 0.0);
    objc::send<void>(none, "release"_sel);
}

TEST_F(BridgeTest, StateIsConstructedAtAllocAndDestroyedAtDealloc) {
    int before = CounterState::destroyed;
    id counter = objc::send<id>(counterClass(), "make"_sel);
    EXPECT_EQ(objc::state<CounterState>(counter).label, "fresh");
    EXPECT_EQ(objc::send<int>(counter, "add:"_sel, 1), 42);
    EXPECT_EQ(objc::send<int>(counter, "add:"_sel, 2), 44);
    objc::release(counter);
    EXPECT_EQ(CounterState::destroyed, before + 1);
}

TEST_F(BridgeTest, StructArgumentsAndResultsPassByValue) {
    id counter = objc::send<id>(counterClass(), "make"_sel);
    Rect r = objc::send<Rect>(counter, "grow:by:"_sel, Rect{10, 20, 30, 40}, 5.0);
    EXPECT_EQ(r.x, 5.0);
    EXPECT_EQ(r.y, 15.0);
    EXPECT_EQ(r.w, 40.0);
    EXPECT_EQ(r.h, 50.0);
    objc::release(counter);
}

TEST_F(BridgeTest, SubclassStatesAndSuperSends) {
    int before = CounterState::destroyed;
    id sub = objc::send<id>(subClass(), "make"_sel);
    EXPECT_EQ(objc::send<double>(sub, "scale"_sel), 2.5);
    EXPECT_EQ(objc::send<int>(sub, "add:"_sel, 1), 1042);  // override, then the base's add:
    EXPECT_EQ(objc::state<CounterState>(sub).value, 42);
    objc::release(sub);
    EXPECT_EQ(CounterState::destroyed, before + 1);
}

TEST_F(BridgeTest, TypeEncodingsFollowTheCppSignature) {
    counterClass();
    Method m = class_getInstanceMethod(counterClass(), "grow:by:"_sel);
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(method_getTypeEncoding(m), "{Rect=dddd}@:{Rect=dddd}d");
    EXPECT_EQ(objc::methodTypes<void>(), "v@:");
    EXPECT_EQ((objc::methodTypes<BOOL, id, SEL, NS::Object*>()), "C@:@:@");

    // A function handed to the runtime by hand carries the same derived
    // encoding, and its IMP is the function itself.
    const objc::Implementation grower = objc::implementation(&grow);
    EXPECT_EQ(grower.types, "{Rect=dddd}@:{Rect=dddd}d");
    EXPECT_EQ(grower.imp, method_getImplementation(m));
    EXPECT_EQ(objc::implementation(&scale).types, "d@:");
    EXPECT_EQ(objc::implementation(&classFactory).types, "@@:");
}

TEST_F(BridgeTest, RefRetainsAdoptsAndReleases) {
    NS::Object* raw = NS::Object::alloc()->init();
    {
        Ref<NS::Object> owner = objc::adopt(raw);
        EXPECT_EQ(raw->retainCount(), 1u);
        Ref<NS::Object> second = owner;
        EXPECT_EQ(raw->retainCount(), 2u);
        Ref<NS::Object> moved = std::move(second);
        EXPECT_EQ(raw->retainCount(), 2u);
        EXPECT_FALSE(second);
        raw->retain()->autorelease();
        EXPECT_EQ(raw->retainCount(), 3u);
    }
    EXPECT_EQ(raw->retainCount(), 1u);  // only the autoreleased reference is left
}

TEST_F(BridgeTest, PoolDrainReleasesEveryAutoreleasedObject) {
    int before = CounterState::destroyed;
    const std::size_t depth = objc::detail::autoreleasePoolDepth(), pending = objc::detail::pendingAutoreleases();
    {
        objc::AutoreleasePool inner;
        for (int i = 0; i < 3; ++i) objc::autorelease(objc::send<id>(counterClass(), "make"_sel));
        EXPECT_EQ(CounterState::destroyed, before);
        // Pools are per thread: another thread starts with none of its own,
        // and its drain leaves this thread's objects alone.
        std::thread other([&] {
            EXPECT_EQ(objc::detail::autoreleasePoolDepth(), 0u);
            objc::AutoreleasePool theirs;
            EXPECT_EQ(objc::detail::autoreleasePoolDepth(), 1u);
            EXPECT_EQ(objc::detail::pendingAutoreleases(), 0u);
            objc::autorelease(objc::send<id>(counterClass(), "make"_sel));
        });
        other.join();
        EXPECT_EQ(CounterState::destroyed, before + 1);
        EXPECT_EQ(objc::detail::autoreleasePoolDepth(), depth + 1);
        EXPECT_EQ(objc::detail::pendingAutoreleases(), pending + 3);
    }
    EXPECT_EQ(CounterState::destroyed, before + 4);
}

TEST_F(BridgeTest, RootClassAnswersTheIntrospectionMessages) {
    Ref<NS::Object> sub = objc::adopt(objc::send<NS::Object*>(subClass(), "make"_sel));
    EXPECT_TRUE(sub->isKindOfClass(counterClass()));
    EXPECT_TRUE(sub->isKindOfClass("NSObject"_cls));
    EXPECT_FALSE(sub->isMemberOfClass(counterClass()));
    EXPECT_TRUE(sub->respondsToSelector("scale"_sel));
    EXPECT_FALSE(sub->respondsToSelector("nothing"_sel));
    EXPECT_TRUE(NS::Object::instancesRespondToSelector(subClass(), "add:"_sel));
    EXPECT_FALSE(NS::Object::instancesRespondToSelector(counterClass(), "scale"_sel));
    // Class objects are not reference counted: retaining one changes nothing.
    EXPECT_EQ(objc::retain(counterClass()), reinterpret_cast<id>(counterClass()));
    objc::release(counterClass());
}

TEST_F(BridgeTest, AnyObjectYieldsTheObjectItWasMadeFrom) {
    Ref<NS::Object> object = objc::adopt(NS::Object::alloc()->init());
    const NS::Object* constant = object.get();
    EXPECT_EQ(objc::AnyObject(object.get()).get(), object->asId());
    EXPECT_EQ(objc::AnyObject(constant).get(), object->asId());
    EXPECT_EQ(objc::AnyObject(object).get(), object->asId());
    EXPECT_EQ(objc::AnyObject(object->asId()).get(), object->asId());
    EXPECT_EQ(objc::AnyObject(counterClass()).get(), reinterpret_cast<id>(counterClass()));
    EXPECT_EQ(objc::AnyObject(nullptr).get(), nil);
    EXPECT_EQ(objc::AnyObject(static_cast<NS::String*>(nullptr)).get(), nil);
    EXPECT_EQ(objc::AnyObject(Ref<NS::Object>()).get(), nil);

    // Through a wrapper's "any object" parameter the message gets that id.
    NS::MutableArray* list = NS::MutableArray::array();
    list->addObject(object);
    list->addObject(constant);
    list->addObject(counterClass());
    EXPECT_EQ(list->count(), 3u);
    EXPECT_EQ(list->objectAtIndex(0), object->asId());
    EXPECT_EQ(list->objectAtIndex(1), object->asId());
    EXPECT_EQ(list->objectAtIndex(2), reinterpret_cast<id>(counterClass()));
    EXPECT_EQ(object->retainCount(), 3u);
}

TEST(BridgeDeathTest, ProgrammerMistakesFailLoudly) {
    EXPECT_DEATH(objc::ClassBuilder("NSObject", "NSObject"), "registered twice");
    EXPECT_DEATH(objc::autorelease(NS::Object::alloc()->init()), "no autorelease pool");
}

}  // namespace
