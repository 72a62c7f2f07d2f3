// The specifier lists of real settings bundles shown in a pane: every list
// loads, each row shows what the framework here can show, and tapping,
// toggling and typing into every row does what it can without failing
// (their panes' actions and classes do not exist here).
#include "ListTableTesting.h"

namespace {

using namespace tabletest;

const std::string kCorpus = "/work/shared/corpus/specifiers/";

struct Section {
    std::string header;
    std::string footer;
    std::vector<std::string> kinds;
};
struct CorpusCase {
    const char* file;
    std::vector<Section> sections;
};

std::vector<Section> sectionsOf(PS::ListController* pane) {
    std::vector<Section> out;
    UI::TableView* table = pane->table();
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        Section section;
        section.header = text(objc::send<NS::String*>(pane, "tableView:titleForHeaderInSection:"_sel, table, s));
        section.footer = text(objc::send<NS::String*>(pane, "tableView:titleForFooterInSection:"_sel, table, s));
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            auto* cell = objc::cast<PS::TableCell>(table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s)));
            section.kinds.push_back(PS::listTable::kindOf(cell));
        }
        out.push_back(section);
    }
    return out;
}

std::string describe(const std::vector<Section>& sections) {
    std::string out;
    for (const Section& s : sections) {
        out += "[" + s.header + "|" + s.footer + "]";
        for (const std::string& k : s.kinds) out += " " + k;
        out += "\n";
    }
    return out;
}

TEST_F(ListTableTest, CorpusListsShowEveryRowTheyCan) {
    const std::vector<CorpusCase> cases = {
        {"kori-Root.plist",
         {{"General", "", {}}, {"Editor", "", {"button"}}, {"Settings", "Needs respring.", {"switch"}}}},
        // Rows of a custom cell class that does not exist here, without a
        // "cell" or a "label": buttons and a link, untitled.
        {"IAmLazy-Root.plist", {{"", "", {"button"}}, {"", "", {"button"}}, {"", "v1.0.3 By Lightmann", {"link"}}}},
        {"Rescale-Root.plist",
         {{"DEVICE_IPHONE_TITLE", "", {"button", "button", "button", "button"}},
          {"DEVICE_IPAD_TITLE", "UNSUPPORTED_RESOLUTIONS", {"button", "button", "button"}},
          {"CUSTOM_TITLE", "", {"edit", "edit", "button", "button"}},
          {"", "CUSTOM_FOOTER", {"link"}}}},
    };
    for (const CorpusCase& c : cases) {
        SCOPED_TRACE(c.file);
        auto p = paneFromFile(kCorpus + c.file);
        UI::NavigationController* nav = show(p);
        keepScreenshot(c.file);
        EXPECT_EQ(describe(sectionsOf(p)), describe(c.sections));

        // Every row, touched as a user would: nothing opens, nothing fails.
        for (PS::TableCell* cell : PS::listTable::cellsOf(p)) {
            EXPECT_EQ(objc::asId(cell->specifier()->target()), objc::asId(p.get()));
            p->table()->scrollToRowAtIndexPath(p->table()->indexPathForCell(cell), UI::UITableViewScrollPositionMiddle,
                                               NO);
            settle(0.05);
            if (UI::Switch* control = PS::listTable::switchOf(cell)) {
                UI::input::tap(centre(control));
            } else if (UI::TextField* field = PS::listTable::textFieldOf(cell)) {
                UI::input::tap(centre(field));
                UI::textField::typeText(field, "640\n");
            } else {
                tapRow(cell);
            }
            settle();
            EXPECT_EQ(nav->topViewController(), p.get());
        }
        window->setHidden(YES);
    }
    // The one row that stores through the framework wrote its file and
    // posted its notification.
    NS::Dictionary* kori = settingsFile("com.xyaman.koripreferences");
    ASSERT_NE(kori, nullptr);
    EXPECT_TRUE(objc::send<BOOL>(kori->objectForKey("disableNotificationsHistory"_ns), "boolValue"_sel));
    EXPECT_EQ(posted(), std::vector<std::string>{"com.xyaman.koripreferences/ReloadPrefs"});
}

}  // namespace
