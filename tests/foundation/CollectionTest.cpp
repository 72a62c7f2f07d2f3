#include "FoundationTestSupport.h"

#include <string>
#include <vector>

using hbtest::str;
using hbtest::utf8;

namespace {

class CollectionTest : public hbtest::FoundationTest {};

// Counts deallocations, to see that collections release what they hold.
int tracked = 0;
void trackedDealloc(id self, SEL s) {
    --tracked;
    objc::sendSuper<void>(self, "TrackedObject"_cls, s);
}
id trackedNew() {
    static Class cls = objc::ClassBuilder("TrackedObject", "NSObject"_cls).method("dealloc", &trackedDealloc).build();
    ++tracked;
    return objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel);
}

TEST_F(CollectionTest, ArrayBasics) {
    NS::Array* a = NS::Array::arrayWithObjects({"top"_ns, NS::Number::numberWithInt(3), NS::Null::null()});
    EXPECT_EQ(a->count(), 3u);
    EXPECT_EQ(a->objectAtIndex(0), "top"_ns->asId());
    EXPECT_EQ(a->lastObject(), NS::Null::null()->asId());
    EXPECT_EQ(a->indexOfObject(str("top")), 0u) << "found by isEqual:";
    EXPECT_EQ(a->indexOfObject(NS::Number::numberWithDouble(3.0)), 1u);
    EXPECT_EQ(a->indexOfObject("mid"_ns), static_cast<NSUInteger>(NSNotFound));
    EXPECT_TRUE(a->isEqual(NS::Array::arrayWithObjects({str("top"), NS::Number::numberWithInt(3), NS::Null::null()})));
    EXPECT_FALSE(a->isEqual(NS::Array::arrayWithObjects({"top"_ns})));
    EXPECT_EQ(NS::Array::array()->firstObject(), nullptr);
    EXPECT_EQ(utf8(NS::Array::arrayWithObjects({"a"_ns, "b"_ns, "c"_ns})->componentsJoinedByString(", "_ns)),
              "a, b, c");
    EXPECT_DEATH(a->objectAtIndex(3), "beyond bounds");
}

TEST_F(CollectionTest, MutableArrayEditsAndOwnership) {
    ASSERT_EQ(tracked, 0);
    {
        objc::AutoreleasePool inner;
        NS::MutableArray* m = NS::MutableArray::array();
        for (int i = 0; i < 4; ++i) {
            id o = trackedNew();
            m->addObject(o);
            objc::release(o);
        }
        EXPECT_EQ(tracked, 4);
        m->removeObjectAtIndex(1);
        EXPECT_EQ(tracked, 3) << "a removed object is released";
        m->insertObject("x"_ns, 0);
        m->replaceObjectAtIndex(1, "y"_ns);
        EXPECT_EQ(tracked, 2);
        m->addObjectsFromArray(m);
        EXPECT_EQ(m->count(), 8u);
        EXPECT_EQ(m->objectAtIndex(4), "x"_ns->asId());
        NS::Array* frozen = m->copy();
        objc::autorelease(frozen);
        m->removeAllObjects();
        EXPECT_EQ(m->count(), 0u);
        EXPECT_EQ(frozen->count(), 8u) << "a copy does not follow the original";
        EXPECT_EQ(tracked, 2) << "still held by the copy";
        EXPECT_DEATH(m->addObject(nullptr), "nil");
    }
    EXPECT_EQ(tracked, 0) << "everything released with the arrays";
}

TEST_F(CollectionTest, DictionaryLookupByValue) {
    NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
    d->setObject("#5FC6F4"_ns, "top"_ns);
    d->setObject(NS::Number::numberWithBool(YES), "enabled"_ns);
    d->setObject("one"_ns, NS::Number::numberWithInt(1));
    EXPECT_EQ(d->count(), 3u);
    // Keys compare by value: a different string object with the same text,
    // a mutable one, a number of another kind.
    EXPECT_EQ(d->objectForKey(str("top")), "#5FC6F4"_ns->asId());
    id enabled = d->objectForKey(NS::MutableString::stringWithUTF8String("enabled"));
    ASSERT_NE(enabled, nullptr);
    EXPECT_TRUE(objc::cast<NS::Number>(enabled)->boolValue());
    EXPECT_EQ(d->objectForKey(NS::Number::numberWithDouble(1.0)), "one"_ns->asId());
    EXPECT_EQ(d->objectForKey("bot"_ns), nullptr);
    EXPECT_EQ(d->objectForKey(nullptr), nullptr);

    d->setObject("#000000"_ns, str("top"));
    EXPECT_EQ(d->count(), 3u) << "same key replaces";
    EXPECT_EQ(d->objectForKey("top"_ns), "#000000"_ns->asId());
    d->removeObjectForKey("enabled"_ns);
    d->removeObjectForKey("absent"_ns);
    EXPECT_EQ(d->count(), 2u);
    EXPECT_EQ(d->objectForKey("enabled"_ns), nullptr);
    EXPECT_EQ(d->objectForKey("top"_ns), "#000000"_ns->asId()) << "others still found after a removal";
    EXPECT_DEATH(d->setObject(nullptr, "k"_ns), "nil");
}

TEST_F(CollectionTest, DictionaryCopiesMutableKeys) {
    NS::MutableString* key = NS::MutableString::stringWithUTF8String("blue");
    NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
    d->setObject("value"_ns, key);
    key->appendString("Text"_ns);
    EXPECT_NE(d->objectForKey("blue"_ns), nullptr) << "the stored key did not change with the caller's string";
    EXPECT_EQ(d->objectForKey("blueText"_ns), nullptr);
}

TEST_F(CollectionTest, DictionaryManyKeysOrderAndRemoval) {
    // Enough keys to grow the index several times; remove every third and
    // check every lookup and the insertion order of what is left.
    NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
    const int n = 500;
    for (int i = 0; i < n; ++i) d->setObject(NS::Number::numberWithInt(i), NS::String::stringWithFormat("key%d"_ns, i));
    for (int i = 0; i < n; i += 3) d->removeObjectForKey(NS::String::stringWithFormat("key%d"_ns, i));
    std::vector<int> expected;
    for (int i = 0; i < n; ++i) {
        id value = d->objectForKey(NS::String::stringWithFormat("key%d"_ns, i));
        if (i % 3 == 0) {
            EXPECT_EQ(value, nullptr) << i;
        } else {
            ASSERT_NE(value, nullptr) << i;
            EXPECT_EQ(objc::cast<NS::Number>(value)->intValue(), i);
            expected.push_back(i);
        }
    }
    NS::Array* keys = d->allKeys();
    ASSERT_EQ(keys->count(), expected.size());
    for (NSUInteger i = 0; i < keys->count(); ++i) {
        EXPECT_EQ(utf8(objc::cast<NS::String>(keys->objectAtIndex(i))), "key" + std::to_string(expected[i]));
    }
}

TEST_F(CollectionTest, DictionaryEqualityCopiesAndOwnership) {
    ASSERT_EQ(tracked, 0);
    {
        objc::AutoreleasePool inner;
        id value = trackedNew();
        NS::Dictionary* a =
            NS::Dictionary::dictionaryWithObjects({"x"_ns, objc::cast<NS::Object>(value)}, {"k1"_ns, "k2"_ns});
        objc::release(value);
        NS::MutableDictionary* m = a->mutableCopy();
        objc::autorelease(m);
        EXPECT_TRUE(a->isEqual(m));
        EXPECT_TRUE(NS::Dictionary::dictionaryWithDictionary(m)->isEqualToDictionary(a));
        m->setObject("y"_ns, "k1"_ns);
        EXPECT_FALSE(a->isEqual(m));
        EXPECT_EQ(a->objectForKey("k1"_ns), "x"_ns->asId()) << "the copy's change stays in the copy";
        NS::Dictionary* same = a->copy();
        EXPECT_EQ(same, a) << "an immutable dictionary is its own copy";
        same->release();
        EXPECT_EQ(tracked, 1);
        m->removeAllObjects();
        EXPECT_EQ(tracked, 1) << "still in the first dictionary";
    }
    EXPECT_EQ(tracked, 0);
}

}  // namespace
