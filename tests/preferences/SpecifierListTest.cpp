// Specifier lists as settings bundles write them: the real lists of the
// corpus, and hand-made lists with the faults a list on a phone can have.
#include <Preferences/SpecifierList.h>

#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kCorpus = "/work/shared/corpus/specifiers/";

struct Row {
    std::string name;
    NSInteger type;
};

std::string text(NS::String* s) { return s != nullptr ? s->UTF8String() : "<nil>"; }

std::vector<Row> rowsOf(NS::Array* rows) {
    std::vector<Row> out;
    for (NSUInteger i = 0; i < rows->count(); ++i) {
        auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(i));
        out.push_back({text(row->name()), row->cellType()});
    }
    return out;
}

NS::Object* parse(const std::string& xml) { return NS::propertyListFromBytes(xml.data(), xml.size()); }

std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" + body + "</plist>";
}

class SpecifierListTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    Ref<NS::Object> target = objc::adopt(NS::Object::alloc()->init());
};

struct CorpusCase {
    const char* file;
    std::vector<Row> rows;
};

TEST_F(SpecifierListTest, CorpusListsKeepEveryRowInOrderWithItsKind) {
    using namespace PS;
    const std::vector<CorpusCase> cases = {
        {"kori-Root.plist",
         {{"General", PSGroupCell},
          {"Editor", PSGroupCell},
          {"Start Editing", PSButtonCell},
          {"Settings", PSGroupCell},
          {"Disable notifications history", PSSwitchCell}}},
        // Custom cells without a "cell" keep their behaviour: a button row
        // for an action, a link row for a detail pane.
        {"IAmLazy-Root.plist",
         {{"", PSGroupCell},
          {"<nil>", PSButtonCell},
          {"", PSGroupCell},
          {"<nil>", PSButtonCell},
          {"", PSGroupCell},
          {"<nil>", PSLinkCell}}},
    };
    for (const CorpusCase& c : cases) {
        SCOPED_TRACE(c.file);
        NS::Array* rows = specifiersFromHostFile(kCorpus + c.file, objc::asId(target.get()));
        std::vector<Row> got = rowsOf(rows);
        ASSERT_EQ(got.size(), c.rows.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].name, c.rows[i].name) << "row " << i;
            EXPECT_EQ(got[i].type, c.rows[i].type) << "row " << i;
        }
    }
}

TEST_F(SpecifierListTest, CorpusRowsKeepTheirKeysActionsAndTarget) {
    NS::Array* kori = PS::specifiersFromHostFile(kCorpus + "kori-Root.plist", objc::asId(target.get()));
    auto* button = objc::cast<PS::Specifier>(kori->objectAtIndex(2));
    EXPECT_EQ(button->buttonAction(), sel_registerName("startEdit:"));
    EXPECT_EQ(button->target(), objc::asId(target.get()));
    auto* toggle = objc::cast<PS::Specifier>(kori->objectAtIndex(4));
    EXPECT_EQ(text(objc::cast<NS::String>(toggle->propertyForKey("key"_ns))), "disableNotificationsHistory");
    EXPECT_EQ(text(objc::cast<NS::String>(toggle->propertyForKey("PostNotification"_ns))),
              "com.xyaman.koripreferences/ReloadPrefs");
    EXPECT_FALSE(objc::cast<NS::Number>(toggle->propertyForKey("default"_ns))->boolValue());
    auto* footer = objc::cast<PS::Specifier>(kori->objectAtIndex(3));
    EXPECT_EQ(text(objc::cast<NS::String>(footer->propertyForKey("footerText"_ns))), "Needs respring.");

    // A detail class that is not loaded leaves the row without one; the
    // custom cell class that does not exist here is not found either.
    NS::Array* lazy = PS::specifiersFromHostFile(kCorpus + "IAmLazy-Root.plist", objc::asId(target.get()));
    auto* link = objc::cast<PS::Specifier>(lazy->lastObject());
    EXPECT_EQ(link->detailControllerClass(), Nil);
    EXPECT_EQ(link->cellClass(), Nil);
    EXPECT_EQ(text(objc::cast<NS::String>(link->propertyForKey("IAmLazySub"_ns))), "Options");
}

TEST_F(SpecifierListTest, RewrittenListWithLocalisationKeysLoadsWhole) {
    NS::Array* rows = PS::specifiersFromHostFile(kCorpus + "Rescale-Root.plist", objc::asId(target.get()));
    std::vector<Row> got = rowsOf(rows);
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(got[0].name, "DEVICE_IPHONE_TITLE");
    EXPECT_EQ(got[0].type, PS::PSGroupCell);
    EXPECT_EQ(got[1].type, PS::PSButtonCell);
    int edits = 0, links = 0;
    for (const Row& r : got) {
        edits += r.type == PS::PSEditTextCell;
        links += r.type == PS::PSLinkCell;
    }
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(links, 1);
}

TEST_F(SpecifierListTest, DamagedListsGiveWhatTheyCanNeverFail) {
    struct Case {
        const char* what;
        std::string xml;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"not a property list", "<<garbage", {}},
        {"root is an array", plist("<array><dict><key>label</key><string>A</string></dict></array>"), {}},
        {"no items", plist("<dict><key>title</key><string>T</string></dict>"), {}},
        {"items not an array", plist("<dict><key>items</key><string>x</string></dict>"), {}},
        {"rows that are not dictionaries are skipped",
         plist("<dict><key>items</key><array><string>x</string><integer>3</integer>"
               "<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>On</string></dict>"
               "</array></dict>"),
         {{"On", PS::PSSwitchCell}}},
        {"unknown cell type and typed values of the wrong kind",
         plist("<dict><key>items</key><array>"
               "<dict><key>cell</key><string>PSFancyCell</string><key>label</key><string>F</string></dict>"
               "<dict><key>cell</key><integer>6</integer><key>label</key><integer>5</integer>"
               "<key>detail</key><integer>1</integer><key>action</key><true/></dict>"
               "</array></dict>"),
         {{"F", PS::PSStaticTextCell}, {"<nil>", PS::PSStaticTextCell}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Row> got = rowsOf(PS::specifiersFromPropertyList(parse(c.xml), objc::asId(target.get())));
        ASSERT_EQ(got.size(), c.rows.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].name, c.rows[i].name);
            EXPECT_EQ(got[i].type, c.rows[i].type);
        }
    }
    EXPECT_EQ(PS::specifiersFromHostFile("/nonexistent/list.plist", objc::asId(target.get()))->count(), 0u);
}

TEST_F(SpecifierListTest, ListItemRowsMapValuesToTitles) {
    NS::Array* rows = PS::specifiersFromPropertyList(
        parse(plist("<dict><key>items</key><array><dict><key>cell</key><string>PSLinkListCell</string>"
                    "<key>validValues</key><array><integer>0</integer><integer>1</integer><integer>2</integer></array>"
                    "<key>validTitles</key><array><string>System</string><string>Gradient</string></array>"
                    "</dict><dict><key>cell</key><string>PSLinkListCell</string>"
                    "<key>validValues</key><array><string>a</string></array></dict></array></dict>")),
        objc::asId(target.get()));
    auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(0));
    EXPECT_EQ(text(row->titleForValue(NS::Number::numberWithInt(1))), "Gradient");
    // A value past the titles, or not among the values, has no title.
    EXPECT_EQ(row->titleForValue(NS::Number::numberWithInt(2)), nullptr);
    EXPECT_EQ(row->titleForValue(NS::Number::numberWithInt(7)), nullptr);
    // Without titles the values stand for themselves.
    auto* bare = objc::cast<PS::Specifier>(rows->objectAtIndex(1));
    EXPECT_EQ(text(bare->titleForValue("a"_ns)), "a");
}

}  // namespace
