#include <CoreFoundation/CoreFoundation.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Foundation/PropertyList.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

CFStringRef cf(const NS::String* s) { return reinterpret_cast<CFStringRef>(s); }
CFPropertyListRef cfValue(const NS::Object* o) { return reinterpret_cast<CFPropertyListRef>(o); }

class PreferencesTest : public ::testing::Test {
protected:
    // What the domain's file holds now, read straight from the device.
    NS::Dictionary* onDisk(const char* id = "com.Quillfen.huebloom") {
        std::string file = dev / ("/var/mobile/Library/Preferences/" + std::string(id) + ".plist");
        NS::Object* plist = NS::propertyListFromHostFile(file);
        return plist && plist->isKindOfClass("NSDictionary"_cls) ? objc::cast<NS::Dictionary>(plist) : nullptr;
    }
    // Copies a value and gives it back autoreleased (the copy is +1).
    NS::Object* value(NS::String* key, CFStringRef id = CFSTR("com.Quillfen.huebloom")) {
        CFPropertyListRef v = CFPreferencesCopyAppValue(cf(key), id);
        return v ? objc::cast<NS::Object>(objc::autorelease(objc::asId(v))) : nullptr;
    }

    objc::AutoreleasePool pool;
    device::TemporaryDevice dev;
    CFStringRef domain = CFSTR("com.Quillfen.huebloom");
};

TEST_F(PreferencesTest, ValuesReachTheFileOnSynchronisationWithTheirTypes) {
    NS::Object* values[] = {
        "#FF8000:0.500000"_ns,
        NS::Number::numberWithBool(YES),
        NS::Number::numberWithInteger(-42),
        NS::Number::numberWithDouble(2.7),
        NS::Array::arrayWithObjects({"a"_ns, NS::Number::numberWithInt(1)}),
        NS::Dictionary::dictionaryWithObject("inner"_ns, "k"_ns),
    };
    const char* keys[] = {"blueText", "enabled", "imessage", "tb_size", "list", "dict"};
    for (int i = 0; i < 6; ++i)
        CFPreferencesSetAppValue(cf(NS::String::stringWithUTF8String(keys[i])), values[i], domain);

    // Seen in the process at once, on disk only after synchronising.
    EXPECT_TRUE(value("blueText"_ns)->isEqual("#FF8000:0.500000"_ns));
    EXPECT_EQ(onDisk(), nullptr);
    ASSERT_TRUE(CFPreferencesAppSynchronize(domain));
    NS::Dictionary* file = onDisk();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->count(), 6u);
    for (int i = 0; i < 6; ++i) {
        NS::String* key = NS::String::stringWithUTF8String(keys[i]);
        EXPECT_TRUE(objc::cast<NS::Object>(file->objectForKey(key))->isEqual(values[i])) << keys[i];
        EXPECT_TRUE(value(key)->isEqual(values[i])) << keys[i];
    }
    EXPECT_NE(NS::xmlPropertyList(file).find("<true/>"), std::string::npos);
    EXPECT_NE(NS::xmlPropertyList(file).find("<integer>-42</integer>"), std::string::npos);
}

TEST_F(PreferencesTest, SynchronisingMergesIntoWhatIsOnDiskAndReadsItBack) {
    CFPreferencesSetAppValue(cf("mine"_ns), cfValue("1"_ns), domain);
    CFPreferencesSetAppValue(cf("gone"_ns), cfValue("x"_ns), domain);
    ASSERT_TRUE(CFPreferencesAppSynchronize(domain));

    // Another process rewrites the file meanwhile, keeping "gone".
    auto* other = NS::MutableDictionary::dictionary();
    other->setObject("theirs"_ns, "other"_ns);
    other->setObject("x"_ns, "gone"_ns);
    other->setObject("old"_ns, "mine"_ns);
    ASSERT_TRUE(NS::writePropertyList(other, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));

    CFPreferencesSetAppValue(cf("mine"_ns), cfValue("2"_ns), domain);
    CFPreferencesSetAppValue(cf("gone"_ns), nullptr, domain);
    EXPECT_EQ(value("other"_ns), nullptr);  // not read since the last synchronisation
    ASSERT_TRUE(CFPreferencesAppSynchronize(domain));

    NS::Dictionary* file = onDisk();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->count(), 2u);
    EXPECT_TRUE(objc::cast<NS::Object>(file->objectForKey("mine"_ns))->isEqual("2"_ns));
    EXPECT_TRUE(objc::cast<NS::Object>(file->objectForKey("other"_ns))->isEqual("theirs"_ns));
    EXPECT_TRUE(value("other"_ns)->isEqual("theirs"_ns));
    EXPECT_EQ(value("gone"_ns), nullptr);

    // With nothing pending, synchronising only reads.
    other->setObject("changed"_ns, "other"_ns);
    ASSERT_TRUE(NS::writePropertyList(other, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));
    ASSERT_TRUE(CFPreferencesAppSynchronize(domain));
    EXPECT_TRUE(value("other"_ns)->isEqual("changed"_ns));
    EXPECT_TRUE(value("mine"_ns)->isEqual("old"_ns));
}

TEST_F(PreferencesTest, IdsThatLeaveThePreferencesFolderAreRefused) {
    CFStringRef ids[] = {
        CFSTR("../../../tmp/evil"), CFSTR("sub/domain"), CFSTR(""), CFSTR("com..x"), CFSTR(".."), nullptr};
    auto before = [&] {
        std::set<std::string> all;
        for (const auto& e : fs::recursive_directory_iterator(dev.path())) all.insert(e.path().string());
        return all;
    }();
    for (CFStringRef id : ids) {
        CFPreferencesSetAppValue(cf("k"_ns), cfValue("v"_ns), id);
        EXPECT_EQ(value("k"_ns, id), nullptr);
        EXPECT_FALSE(CFPreferencesAppSynchronize(id));
    }
    std::set<std::string> after;
    for (const auto& e : fs::recursive_directory_iterator(dev.path())) after.insert(e.path().string());
    EXPECT_EQ(before, after);
}

TEST_F(PreferencesTest, CopyGivesAnOwnedReferenceToACopyOfWhatWasSet) {
    NS::MutableString* text = NS::MutableString::stringWithUTF8String("#112233");
    CFPreferencesSetAppValue(cf("blueText"_ns), cfValue(text), domain);
    text->appendString("44"_ns);
    CFPropertyListRef got = CFPreferencesCopyAppValue(cf("blueText"_ns), domain);
    ASSERT_NE(got, nullptr);
    EXPECT_TRUE(objc::cast<NS::Object>(got)->isEqual("#112233"_ns));
    NSUInteger held = objc::cast<NS::Object>(got)->retainCount();
    CFPropertyListRef again = CFPreferencesCopyAppValue(cf("blueText"_ns), domain);
    EXPECT_EQ(again, got);
    EXPECT_EQ(objc::cast<NS::Object>(got)->retainCount(), held + 1);
    CFRelease(again);
    CFRelease(got);
    EXPECT_EQ(CFPreferencesCopyAppValue(cf("missing"_ns), domain), nullptr);
}

TEST_F(PreferencesTest, AFailedWriteKeepsTheChangesForTheNextTry) {
    std::string file = dev / "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
    fs::create_directories(file + "/blocker");  // a folder where the file should be
    CFPreferencesSetAppValue(cf("blueText"_ns), cfValue("#010203"_ns), domain);
    EXPECT_FALSE(CFPreferencesAppSynchronize(domain));
    EXPECT_TRUE(value("blueText"_ns)->isEqual("#010203"_ns));
    fs::remove_all(file);
    EXPECT_TRUE(CFPreferencesAppSynchronize(domain));
    ASSERT_NE(onDisk(), nullptr);
    EXPECT_TRUE(objc::cast<NS::Object>(onDisk()->objectForKey("blueText"_ns))->isEqual("#010203"_ns));
}

TEST_F(PreferencesTest, ACorruptOrForeignFileReadsAsAnEmptyDomain) {
    struct Case {
        const char* id;
        const char* content;
    } cases[] = {
        {"corrupt", "<?xml version=\"1.0\"?><plist><dict><key>a</key>"},
        {"array", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>a</string></array></plist>"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        std::ofstream(dev / ("/var/mobile/Library/Preferences/" + std::string(c.id) + ".plist")) << c.content;
        CFStringRef id = cf(NS::String::stringWithUTF8String(c.id));
        EXPECT_EQ(value("a"_ns, id), nullptr) << c.id;
        CFPreferencesSetAppValue(cf("k"_ns), cfValue("v"_ns), id);
        ASSERT_TRUE(CFPreferencesAppSynchronize(id)) << c.id;
        NS::Dictionary* file = onDisk(c.id);
        ASSERT_NE(file, nullptr) << c.id;
        EXPECT_EQ(file->count(), 1u) << c.id;
    }
}

TEST_F(PreferencesTest, ValuesNoPropertyListCanHoldAreNotTaken) {
    NS::Object* plain = objc::cast<NS::Object>(NS::Object::new_()->autorelease());
    CFPreferencesSetAppValue(cf("odd"_ns), cfValue(plain), domain);
    CFPreferencesSetAppValue(cf("fine"_ns), cfValue("yes"_ns), domain);
    EXPECT_EQ(value("odd"_ns), nullptr);
    EXPECT_TRUE(CFPreferencesAppSynchronize(domain));
    EXPECT_EQ(onDisk()->count(), 1u);
}

TEST_F(PreferencesTest, EachDeviceHasItsOwnDomains) {
    CFPreferencesSetAppValue(cf("k"_ns), cfValue("first"_ns), domain);
    {
        device::TemporaryDevice second;
        EXPECT_EQ(value("k"_ns), nullptr);
        CFPreferencesSetAppValue(cf("k"_ns), cfValue("second"_ns), domain);
        EXPECT_TRUE(value("k"_ns)->isEqual("second"_ns));
    }
    EXPECT_TRUE(value("k"_ns)->isEqual("first"_ns));
}

}  // namespace
