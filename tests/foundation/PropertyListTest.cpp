#include "FoundationTestSupport.h"

#include <Device/DevicePath.h>
#include <Foundation/AtomicFile.h>
#include <Foundation/PropertyList.h>

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using hbtest::str;
using hbtest::utf8;
namespace fs = std::filesystem;

namespace {

const std::string kCorpus = std::string(HB_SOURCE_DIR) + "/tests/foundation/corpus";
constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";

class PropertyListTest : public hbtest::FoundationTest {
protected:
    device::TemporaryDevice device;

    void plant(const std::string& phonePath, const std::string& bytes) {
        std::ofstream(device / phonePath, std::ios::binary) << bytes;
    }
    void plantFile(const std::string& phonePath, const std::string& corpusFile) {
        fs::copy_file(kCorpus + "/" + corpusFile, device / phonePath, fs::copy_options::overwrite_existing);
    }
    std::vector<std::string> folderEntries(const std::string& phoneFolder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(device / phoneFolder)) names.push_back(e.path().filename());
        return names;
    }
    NS::Dictionary* read(const char* phonePath) { return NS::Dictionary::dictionaryWithContentsOfFile(str(phonePath)); }
};

NS::Number* number(id o) { return objc::cast<NS::Number>(o); }

// Checks the contents of the "everything" files, whichever format they came in.
void expectEverything(NS::Dictionary* d) {
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(utf8(objc::cast<NS::String>(d->objectForKey("string"_ns))), "h\xC3\xA9llo \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(objc::cast<NS::String>(d->objectForKey("string"_ns))->length(), 10u);
    EXPECT_EQ(objc::cast<NS::String>(d->objectForKey("empty"_ns))->length(), 0u);
    EXPECT_STREQ(number(d->objectForKey("yes"_ns))->objCType(), "c");
    EXPECT_TRUE(number(d->objectForKey("yes"_ns))->boolValue());
    EXPECT_FALSE(number(d->objectForKey("no"_ns))->boolValue());
    EXPECT_STREQ(number(d->objectForKey("negative"_ns))->objCType(), "q");
    EXPECT_EQ(number(d->objectForKey("negative"_ns))->integerValue(), -5);
    EXPECT_EQ(number(d->objectForKey("big"_ns))->integerValue(), 9223372036854775807L);
    EXPECT_STREQ(number(d->objectForKey("real"_ns))->objCType(), "d");
    EXPECT_EQ(number(d->objectForKey("real"_ns))->doubleValue(), 0.1);
    EXPECT_STREQ(number(d->objectForKey("realWhole"_ns))->objCType(), "d");
    auto* data = objc::cast<NS::Data>(d->objectForKey("data"_ns));
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->length(), 4u);
    EXPECT_EQ(std::memcmp(data->bytes(), "\x00\x01\xfe\xff", 4), 0);
    auto* date = objc::cast<NS::Date>(d->objectForKey("date"_ns));
    ASSERT_NE(date, nullptr);
    EXPECT_DOUBLE_EQ(date->timeIntervalSince1970(), 1577934245.0);  // 2020-01-02 03:04:05 UTC
    auto* nested = objc::cast<NS::Dictionary>(d->objectForKey("nested"_ns));
    ASSERT_NE(nested, nullptr);
    auto* list = objc::cast<NS::Array>(nested->objectForKey("list"_ns));
    ASSERT_EQ(list->count(), 3u);
    auto* inner = objc::cast<NS::Array>(list->objectAtIndex(2));
    EXPECT_EQ(number(inner->objectAtIndex(0))->doubleValue(), 3.5);
    auto* deepest = objc::cast<NS::Dictionary>(inner->objectAtIndex(1));
    EXPECT_TRUE(number(deepest->objectForKey("deep"_ns))->boolValue());
    EXPECT_EQ(objc::cast<NS::Array>(nested->objectForKey("emptyList"_ns))->count(), 0u);
    EXPECT_EQ(objc::cast<NS::Dictionary>(nested->objectForKey("emptyDict"_ns))->count(), 0u);
}

TEST_F(PropertyListTest, ReadsXmlAndBinaryWithEveryType) {
    for (const char* file : {"valid/everything.plist", "valid/everything.bplist"}) {
        SCOPED_TRACE(file);
        plantFile(kSettings, file);
        expectEverything(read(kSettings));
    }
}

TEST_F(PropertyListTest, WrittenFileReadsBackWithKindsKept) {
    plantFile("/tmp/in.bplist", "valid/everything.bplist");
    NS::Dictionary* original = read("/tmp/in.bplist");
    ASSERT_NE(original, nullptr);
    ASSERT_TRUE(original->writeToFile(str(kSettings), YES));
    std::ifstream written(device / kSettings);
    std::string xml((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(xml.rfind("<?xml", 0), 0u) << "written as XML";
    EXPECT_NE(xml.find("<true/>"), std::string::npos);
    EXPECT_NE(xml.find("<integer>-5</integer>"), std::string::npos);
    EXPECT_NE(xml.find("<real>2"), std::string::npos) << "a whole real stays a real";
    NS::Dictionary* back = read(kSettings);
    expectEverything(back);
    EXPECT_TRUE(back->isEqual(original));
}

TEST_F(PropertyListTest, SettingsFileWithMutableTopLevel) {
    plantFile(kSettings, "valid/settings43.plist");
    Ref<NS::Dictionary> pref = objc::adopt(NS::Dictionary::alloc()->initWithContentsOfFile(str(kSettings)));
    ASSERT_NE(pref, nullptr);
    EXPECT_EQ(pref->count(), 43u);
    EXPECT_EQ(number(pref->objectForKey("tb_size"_ns))->integerValue(), 2);
    NS::MutableDictionary* m = NS::MutableDictionary::dictionaryWithContentsOfFile(str(kSettings));
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isKindOfClass("NSMutableDictionary"_cls));
    m->setObject("#FF0000:0.250000"_ns, "blueText"_ns);
    ASSERT_TRUE(m->writeToFile(str(kSettings), YES));
    NS::Dictionary* again = read(kSettings);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->count(), 43u);
    EXPECT_EQ(utf8(objc::cast<NS::String>(again->objectForKey("blueText"_ns))), "#FF0000:0.250000");
    EXPECT_FALSE(again->isKindOfClass("NSMutableDictionary"_cls));
}

TEST_F(PropertyListTest, UnreadableFilesGiveNil) {
    plant("/var/mobile/Library/Preferences/array.plist", "");
    plantFile("/var/mobile/Library/Preferences/array.plist", "valid/array-root.plist");
    EXPECT_EQ(read("/var/mobile/Library/Preferences/array.plist"), nullptr) << "root is not a dictionary";
    NS::Array* array = NS::Array::arrayWithContentsOfFile(str("/var/mobile/Library/Preferences/array.plist"));
    ASSERT_NE(array, nullptr) << "but it is an array";
    EXPECT_EQ(array->count(), 3u);

    EXPECT_EQ(read("/var/mobile/Library/Preferences/missing.plist"), nullptr);
    EXPECT_EQ(read("/var/mobile/Library/Preferences"), nullptr) << "a folder";
    EXPECT_EQ(read("/var/mobile/../../../etc/passwd"), nullptr) << "a path leaving the device";
    EXPECT_EQ(read("relative.plist"), nullptr);
    EXPECT_EQ(NS::Dictionary::dictionaryWithContentsOfFile(nullptr), nullptr);
    EXPECT_EQ(NS::Dictionary::alloc()->initWithContentsOfFile(str("/tmp/none.plist")), nullptr);

    // A FIFO without a writer must not block the reader.
    ASSERT_EQ(::mkfifo((device / "/tmp/fifo.plist").c_str(), 0644), 0);
    EXPECT_EQ(read("/tmp/fifo.plist"), nullptr);

    // The settings path through "/User" is the same file.
    plantFile(kSettings, "valid/settings43.plist");
    EXPECT_NE(read("/User/Library/Preferences/com.Quillfen.huebloom.plist"), nullptr);
}

// Every file of the broken corpus is refused as a dictionary, without a
// crash or a hang.
TEST_F(PropertyListTest, BrokenCorpusReadsAsNil) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus + "/broken")) {
        SCOPED_TRACE(entry.path().filename().string());
        fs::copy_file(entry.path(), device / "/tmp/broken.plist", fs::copy_options::overwrite_existing);
        EXPECT_EQ(read("/tmp/broken.plist"), nullptr);
        ++files;
    }
    EXPECT_GE(files, 15);
}

std::string deepXml(int depth) {
    std::string s = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 0; i < depth; ++i) s += "<array>";
    for (int i = 0; i < depth; ++i) s += "</array>";
    return s + "</plist>";
}

TEST_F(PropertyListTest, NestingLimit) {
    struct Case {
        int depth;
        bool readable;
    };
    for (Case c :
         {Case{NS::kMaxPropertyListDepth, true}, Case{NS::kMaxPropertyListDepth + 1, false}, Case{200000, false}}) {
        std::string xml = deepXml(c.depth);
        NS::Object* plist = NS::propertyListFromBytes(xml.data(), xml.size());
        EXPECT_EQ(plist != nullptr, c.readable) << c.depth;
    }
    // Writing a collection that contains itself stops at the same limit.
    NS::MutableArray* loop = NS::MutableArray::array();
    loop->addObject(loop);
    EXPECT_FALSE(loop->writeToFile(str("/tmp/loop.plist"), YES));
    loop->removeAllObjects();
}

TEST_F(PropertyListTest, HugeValuesAndSizeCap) {
    // A 10 MB string is a valid settings value.
    std::string big(10 << 20, 'x');
    std::string xml =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>s</key><string>" + big + "</string></dict></plist>";
    plant(kSettings, xml);
    NS::Dictionary* d = read(kSettings);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(objc::cast<NS::String>(d->objectForKey("s"_ns))->length(), big.size());
    // Past the size cap the file is not even parsed.
    {
        std::ofstream out(device / kSettings, std::ios::binary | std::ios::app);
        out << std::string(NS::kMaxReadableFileSize - xml.size() + 1, ' ');
    }
    EXPECT_EQ(fs::file_size(device / kSettings), NS::kMaxReadableFileSize + 1);
    EXPECT_EQ(read(kSettings), nullptr);
    // More values than the limit.
    std::string many = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array>";
    for (std::size_t i = 0; i <= NS::kMaxPropertyListValues; ++i) many += "<true/>";
    many += "</array></plist>";
    EXPECT_EQ(NS::propertyListFromBytes(many.data(), many.size()), nullptr);
}

TEST_F(PropertyListTest, WriteLeavesNoTemporaryFile) {
    const std::string folder = "/var/mobile/Library/Preferences";
    auto before = folderEntries(folder);
    NS::Dictionary* d = NS::Dictionary::dictionaryWithObjects({"#FFFFFF"_ns}, {"blueText"_ns});
    ASSERT_TRUE(d->writeToFile(str(kSettings), YES));
    auto after = folderEntries(folder);
    EXPECT_EQ(after.size(), before.size() + 1) << "only the settings file was added";
    struct stat info {};
    ASSERT_EQ(::stat((device / kSettings).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    // A value that cannot go into a property list: nothing is written.
    NS::Dictionary* bad = NS::Dictionary::dictionaryWithObjects({NS::Null::null()}, {"x"_ns});
    EXPECT_FALSE(bad->writeToFile(str("/var/mobile/Library/Preferences/bad.plist"), YES));
    NS::Dictionary* badKey = NS::Dictionary::dictionaryWithObjects({"x"_ns}, {NS::Number::numberWithInt(1)});
    EXPECT_FALSE(badKey->writeToFile(str("/var/mobile/Library/Preferences/bad.plist"), YES));
    // A folder that does not exist: the write fails and leaves nothing.
    EXPECT_FALSE(d->writeToFile(str("/var/mobile/Library/NoSuchFolder/x.plist"), YES));
    EXPECT_FALSE(d->writeToFile(str("/var/mobile/../../../escape.plist"), YES));
    EXPECT_EQ(folderEntries(folder), after);
    EXPECT_EQ(utf8(objc::cast<NS::String>(read(kSettings)->objectForKey("blueText"_ns))), "#FFFFFF");
}

// A child reads the settings file over and over while the parent rewrites it:
// each read must find the old file or the new one, whole.
TEST_F(PropertyListTest, ConcurrentReaderSeesOldOrNew) {
    auto makeVersion = [](int version) {
        NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
        d->setObject(NS::Number::numberWithInt(version), "version"_ns);
        // Enough entries that a write takes many system calls.
        for (int i = 0; i < 2000; ++i) {
            d->setObject(NS::String::stringWithFormat("#%06X"_ns, version),
                         NS::String::stringWithFormat("key%d"_ns, i));
        }
        return d;
    };
    ASSERT_TRUE(makeVersion(0)->writeToFile(str(kSettings), YES));
    const int rounds = 60;
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        objc::AutoreleasePool childPool;
        int bad = 0, seen = 0;
        for (int i = 0; i < 400 && bad == 0; ++i) {
            objc::AutoreleasePool turn;
            NS::Dictionary* d = NS::Dictionary::dictionaryWithContentsOfFile(str(kSettings));
            if (d == nullptr || d->count() != 2001) {
                bad = 1;
                break;
            }
            int version = number(d->objectForKey("version"_ns))->intValue();
            NS::String* expected = NS::String::stringWithFormat("#%06X"_ns, version);
            if (!expected->isEqual(d->objectForKey("key1999"_ns))) bad = 1;
            if (version == rounds) break;
            ++seen;
        }
        ::_exit(bad);
    }
    for (int v = 1; v <= rounds; ++v) {
        objc::AutoreleasePool turn;
        ASSERT_TRUE(makeVersion(v)->writeToFile(str(kSettings), YES));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the reader saw a partial or mixed file";
    auto entries = folderEntries("/var/mobile/Library/Preferences");
    for (const auto& name : entries) EXPECT_EQ(name.find(".XXXXXX"), std::string::npos) << name;
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const std::string& n) { return n[0] == '.'; }), 0);
}

TEST_F(PropertyListTest, AWriteRemovesTheTemporaryFilesOfKilledWritersOnly) {
    const std::string folder = "/var/mobile/Library/Preferences";
    // A writer that was killed before its rename: a child that has ended.
    pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const std::string abandoned = ".com.Quillfen.huebloom.plist." + std::to_string(gone) + ".a1B2c3";
    // One killed but not yet collected by its parent: a zombie, still in the
    // process table, that will never rename anything.
    pid_t zombie = ::fork();
    if (zombie == 0) ::_exit(0);
    ASSERT_GT(zombie, 0);
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(zombie), &info, WEXITED | WNOWAIT), 0);
    const std::string ofZombie = ".com.Quillfen.huebloom.plist." + std::to_string(zombie) + ".Zz0000";
    // A writer still at work (this process), a name that only looks alike,
    // and the temporary file of another target.
    const std::string live = ".com.Quillfen.huebloom.plist." + std::to_string(::getpid()) + ".zzzzzz";
    const std::string unrelated = ".com.Quillfen.huebloom.plist.notes";
    const std::string otherTarget = ".other.plist." + std::to_string(gone) + ".a1B2c3";
    for (const auto& name : {abandoned, ofZombie, live, unrelated, otherTarget}) plant(folder + "/" + name, "partial");

    NS::Dictionary* d = NS::Dictionary::dictionaryWithObjects({"#FFFFFF"_ns}, {"blueText"_ns});
    ASSERT_TRUE(d->writeToFile(str(kSettings), YES));
    ::waitpid(zombie, nullptr, 0);
    auto entries = folderEntries(folder);
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> expected = {live, unrelated, otherTarget, "com.Quillfen.huebloom.plist"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
}

TEST_F(PropertyListTest, NodeConversionsBothWays) {
    NS::Dictionary* d = NS::Dictionary::dictionaryWithObjects(
        {NS::Number::numberWithBool(NO), NS::Number::numberWithDouble(-1.5), NS::Array::arrayWithObjects({"x"_ns})},
        {"pic"_ns, "r"_ns, "a"_ns});
    plist_t node = NS::plistNodeFromObject(d);
    ASSERT_NE(node, nullptr);
    NS::Object* back = NS::objectFromPlistNode(node);
    plist_free(node);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEqual(d));
    EXPECT_STREQ(number(objc::cast<NS::Dictionary>(back)->objectForKey("pic"_ns))->objCType(), "c");
    EXPECT_EQ(NS::plistNodeFromObject(NS::Null::null()), nullptr);
    // Keys are written in order, whatever order they were stored in.
    std::string xml = NS::xmlPropertyList(d);
    EXPECT_LT(xml.find("<key>a</key>"), xml.find("<key>pic</key>"));
    EXPECT_LT(xml.find("<key>pic</key>"), xml.find("<key>r</key>"));
    EXPECT_EQ(NS::xmlPropertyList(NS::Null::null()), "");
    EXPECT_EQ(NS::objectFromPlistNode(nullptr), nullptr);
}

TEST_F(PropertyListTest, DataFilesAtomically) {
    const unsigned char bytes[] = {0, 1, 2, 250, 255};
    NS::Data* data = NS::Data::dataWithBytes(bytes, sizeof bytes);
    ASSERT_TRUE(data->writeToFile(str("/tmp/blob.bin"), YES));
    NS::Data* back = NS::Data::dataWithContentsOfFile(str("/tmp/blob.bin"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEqualToData(data));
    EXPECT_EQ(hbtest::describe(back), "<000102fa ff>");
    EXPECT_EQ(NS::Data::dataWithContentsOfFile(str("/tmp/none.bin")), nullptr);
    EXPECT_EQ(NS::Data::data()->bytes(), nullptr);
    EXPECT_EQ(folderEntries("/tmp").size(), 1u);
}

}  // namespace
