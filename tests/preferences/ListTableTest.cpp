// The grouped table of a list controller: sections from group rows, one
// framework cell per row, each kind's look and value, what taps do, and how
// often the cells are placed.
#include "ListTableTesting.h"

#include "../uikit/UIKitTesting.h"

#include <Foundation/PropertyList.h>

#include <algorithm>
#include <charconv>

namespace {

using namespace tabletest;
using PS::listTable::ShownValue;

constexpr const char* kDomain = "com.example.tabletest";

std::string row(const std::string& cell, const std::string& label, const std::string& more = "") {
    std::string xml = "<dict><key>cell</key><string>" + cell + "</string>";
    if (!label.empty()) xml += "<key>label</key><string>" + label + "</string>";
    return xml + more + "</dict>";
}
std::string keyed(const std::string& key, const std::string& more = "") {
    return "<key>key</key><string>" + key + "</string><key>defaults</key><string>" + std::string(kDomain) +
           "</string><key>PostNotification</key><string>com.example.tabletest/changed</string>" + more;
}
std::string fileText(const std::string& hostPath) {
    std::ifstream in(hostPath);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST_F(ListTableTest, GroupRowsMakeTheSectionsWithTheirHeadersAndFooters) {
    auto p = pane(row("PSStaticTextCell", "Loose") +
                  row("PSGroupCell", "First", "<key>footerText</key><string>Foot</string>") +
                  row("PSStaticTextCell", "A") + row("PSStaticTextCell", "B") + row("PSGroupCell", "") +
                  row("PSStaticTextCell", "C") + row("PSGroupCell", "Empty"));
    show(p);
    UI::TableView* table = p->table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(objc::asId(table), objc::asId(p->view()));
    EXPECT_EQ(table->style(), UI::UITableViewStyleGrouped);

    struct Section {
        const char* header;
        const char* footer;
        std::vector<std::string> rows;
    };
    const std::vector<Section> want = {{nullptr, nullptr, {"Loose"}},
                                       {"First", "Foot", {"A", "B"}},
                                       {nullptr, nullptr, {"C"}},
                                       {"Empty", nullptr, {}}};
    ASSERT_EQ(table->numberOfSections(), static_cast<NSInteger>(want.size()));
    NS::Array* rows = p->specifiers();
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        SCOPED_TRACE(s);
        auto* header = objc::send<NS::String*>(p.get(), "tableView:titleForHeaderInSection:"_sel, table, s);
        auto* footer = objc::send<NS::String*>(p.get(), "tableView:titleForFooterInSection:"_sel, table, s);
        EXPECT_EQ(text(header), want[s].header ? want[s].header : "");
        EXPECT_EQ(header == nullptr, want[s].header == nullptr);
        EXPECT_EQ(text(footer), want[s].footer ? want[s].footer : "");
        ASSERT_EQ(table->numberOfRowsInSection(s), static_cast<NSInteger>(want[s].rows.size()));
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            UI::TableViewCell* cell = table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s));
            ASSERT_TRUE(objc::send<BOOL>(cell, "isKindOfClass:"_sel, "PSTableCell"_cls));
            PS::Specifier* spec = objc::cast<PS::TableCell>(cell)->specifier();
            EXPECT_EQ(text(spec->name()), want[s].rows[r]);
            EXPECT_NE(rows->indexOfObject(spec), static_cast<NSUInteger>(NSNotFound));
            EXPECT_EQ(text(cell->textLabel()->text()), want[s].rows[r]);
            EXPECT_EQ(objc::asId(cell->superview()), objc::asId(table));
        }
    }
    // Below the bars: the first row starts under the 64 points of status and
    // navigation bar, 35 points of grouped space further down.
    UI::TableViewCell* first = table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(first->convertPointToView(CGPointZero, nullptr).y, 64 + 35);
}

TEST_F(ListTableTest, EachKindShowsItsValueTheWayTheListStoresIt) {
    NS::MutableDictionary* stored = NS::MutableDictionary::dictionary();
    stored->setObject(NS::Number::numberWithBool(YES), "on"_ns);
    stored->setObject("YES"_ns, "onText"_ns);
    stored->setObject(NS::Number::numberWithInt(0), "offNumber"_ns);
    stored->setObject(NS::Array::array(), "offArray"_ns);
    stored->setObject(NS::Number::numberWithDouble(0.25), "volume"_ns);
    stored->setObject("1.5"_ns, "volumeText"_ns);
    stored->setObject("Ann"_ns, "name"_ns);
    stored->setObject(NS::Number::numberWithInt(42), "nameNumber"_ns);
    stored->setObject(NS::Number::numberWithInt(2), "mode"_ns);
    stored->setObject("2"_ns, "modeText"_ns);
    stored->setObject(NS::Number::numberWithInt(9), "modeUnknown"_ns);
    stored->setObject("1.0"_ns, "version"_ns);
    writeSettings(kDomain, stored);

    const std::string choices =
        "<key>detail</key><string>PSListItemsController</string>"
        "<key>validValues</key><array><integer>1</integer><integer>2</integer></array>"
        "<key>validTitles</key><array><string>One</string><string>Two</string></array>";
    struct Case {
        const char* name;
        std::string xml;
        const char* kind;
        ShownValue::Type type;
        double number;  // also the Boolean
        const char* text;
        UI::UITableViewCellAccessoryType accessory;
    };
    using T = ShownValue::Type;
    const Case cases[] = {
        {"Switch on", row("PSSwitchCell", "Switch on", keyed("on")), "switch", T::Boolean, 1, "", 0},
        {"Switch from text", row("PSSwitchCell", "Switch from text", keyed("onText")), "switch", T::Boolean, 1, "", 0},
        {"Switch off number", row("PSSwitchCell", "Switch off number", keyed("offNumber")), "switch", T::Boolean, 0, "",
         0},
        {"Switch from array", row("PSSwitchCell", "Switch from array", keyed("offArray")), "switch", T::Boolean, 0, "",
         0},
        {"Switch default", row("PSSwitchCell", "Switch default", keyed("absent", "<key>default</key><true/>")),
         "switch", T::Boolean, 1, "", 0},
        {"Slider", row("PSSliderCell", "Slider", keyed("volume", "<key>max</key><real>2</real>")), "slider", T::Number,
         0.25, "", 0},
        {"Slider from text",
         row("PSSliderCell", "Slider from text", keyed("volumeText", "<key>max</key><string>2</string>")), "slider",
         T::Number, 1.5, "", 0},
        {"Slider unset", row("PSSliderCell", "Slider unset", keyed("absent", "<key>min</key><string>0.5</string>")),
         "slider", T::Number, 0.5, "", 0},
        {"Edit", row("PSEditTextCell", "Edit", keyed("name")), "edit", T::Text, 0, "Ann", 0},
        {"Edit number", row("PSEditTextCell", "Edit number", keyed("nameNumber")), "edit", T::Text, 0, "42", 0},
        {"Secure", row("PSSecureEditTextCell", "Secure", keyed("name")), "edit", T::Text, 0, "Ann", 0},
        {"List", row("PSLinkListCell", "List", keyed("mode", choices)), "list", T::Text, 0, "Two", 1},
        {"List from text", row("PSLinkListCell", "List from text", keyed("modeText", choices)), "list", T::Text, 0,
         "Two", 1},
        {"List unknown value", row("PSLinkListCell", "List unknown value", keyed("modeUnknown", choices)), "list",
         T::None, 0, "", 1},
        {"Value", row("PSTitleValueCell", "Value", keyed("version")), "value", T::Text, 0, "1.0", 0},
        {"Link", row("PSLinkCell", "Link", "<key>detail</key><string>NoSuchPane</string>"), "link", T::None, 0, "", 1},
        {"Button", row("PSButtonCell", "Button", "<key>action</key><string>pressed</string>"), "button", T::None, 0, "",
         0},
        {"Static", row("PSStaticTextCell", "Static"), "static", T::None, 0, "", 0},
        {"Unknown type", row("PSFancyNewCell", "Unknown type"), "static", T::None, 0, "", 0},
    };
    std::string items;
    for (const Case& c : cases) items += c.xml;
    auto p = pane(items + row("PSStaticTextCell", ""));
    show(p);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PS::TableCell* cell = cellNamed(p, c.name);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(PS::listTable::kindOf(cell), c.kind);
        ShownValue shown = PS::listTable::shownValue(cell);
        EXPECT_EQ(static_cast<int>(shown.type), static_cast<int>(c.type));
        if (c.type == T::Boolean) {
            EXPECT_EQ(shown.boolean, c.number != 0);
        }
        if (c.type == T::Number) {
            EXPECT_FLOAT_EQ(shown.number, c.number);
        }
        EXPECT_EQ(shown.text, c.text);
        EXPECT_EQ(cell->accessoryType(), c.accessory);
        // Every control lies inside its row, right of the title.
        UI::View* control = PS::listTable::sliderOf(cell)      ? objc::cast<UI::View>(PS::listTable::sliderOf(cell))
                            : PS::listTable::textFieldOf(cell) ? objc::cast<UI::View>(PS::listTable::textFieldOf(cell))
                            : PS::listTable::switchOf(cell)    ? objc::cast<UI::View>(PS::listTable::switchOf(cell))
                                                               : nullptr;
        if (control != nullptr) {
            const CGRect r = control->convertRectToView(control->bounds(), cell);
            EXPECT_GE(r.origin.x, cell->textLabel()->convertRectToView(cell->textLabel()->bounds(), cell).origin.x +
                                      cell->textLabel()->frame().size.width);
            EXPECT_LE(CGRectGetMaxX(r), 320 - 15 + 0.5);
            EXPECT_GE(r.origin.y, 0);
            EXPECT_LE(CGRectGetMaxY(r), 44);
        }
    }
    // A button's title takes the tint colour; a row without a label shows
    // an empty title.
    EXPECT_PRED3(testcolors::near, testcolors::componentsOf(cellNamed(p, "Button")->textLabel()->textColor()),
                 testcolors::hex(0x007AFF), 1e-6);
    EXPECT_EQ(PS::listTable::cellsOf(p).size(), std::size(cases) + 1);
}

TEST_F(ListTableTest, ControlsWriteTheirValuesToTheFileAndPostTheRowsNotification) {
    auto p = pane(row("PSSwitchCell", "Wifi", keyed("wifi")) +
                  row("PSSliderCell", "Volume",
                      keyed("volume", "<key>min</key><integer>0</integer><key>max</key><integer>1</integer>")) +
                  row("PSEditTextCell", "Name", keyed("name", "<key>isNumeric</key><true/>")));
    show(p);
    const std::string file = device / (std::string("/var/mobile/Library/Preferences/") + kDomain + ".plist");
    const std::string note = "com.example.tabletest/changed";

    UI::input::tap(centre(PS::listTable::switchOf(cellNamed(p, "Wifi"))));
    settle();
    ASSERT_NE(settingsFile(kDomain), nullptr);
    EXPECT_NE(fileText(file).find("<key>wifi</key>\n\t<true/>"), std::string::npos) << fileText(file);
    EXPECT_EQ(posted(), std::vector<std::string>{note});
    UI::input::tap(centre(PS::listTable::switchOf(cellNamed(p, "Wifi"))));
    settle();
    EXPECT_FALSE(objc::send<BOOL>(settingsFile(kDomain)->objectForKey("wifi"_ns), "boolValue"_sel));
    EXPECT_NE(fileText(file).find("<false/>"), std::string::npos);

    // A drag writes one real, the value where the finger lifted.
    UI::slider::dragToValue(PS::listTable::sliderOf(cellNamed(p, "Volume")), 0.7f);
    settle();
    id volume = settingsFile(kDomain)->objectForKey("volume"_ns);
    ASSERT_TRUE(objc::send<BOOL>(volume, "isKindOfClass:"_sel, "NSNumber"_cls));
    const float reached = PS::listTable::sliderOf(cellNamed(p, "Volume"))->value();
    EXPECT_NEAR(reached, 0.7, 0.01);
    char shortest[32] = {};
    std::to_chars(shortest, shortest + sizeof shortest - 1, reached);
    EXPECT_EQ(objc::send<double>(volume, "doubleValue"_sel), std::strtod(shortest, nullptr));
    EXPECT_NE(fileText(file).find("<key>volume</key>\n\t<real>"), std::string::npos) << fileText(file);
    EXPECT_EQ(posted().size(), 3u);

    // Text is stored as a string when editing ends, even on a numeric row.
    UI::TextField* field = PS::listTable::textFieldOf(cellNamed(p, "Name"));
    tapRow(cellNamed(p, "Name"));
    EXPECT_TRUE(field->isEditing());
    UI::textField::typeText(field, "12\n");
    settle();
    EXPECT_FALSE(field->isEditing());
    id name = settingsFile(kDomain)->objectForKey("name"_ns);
    ASSERT_TRUE(objc::send<BOOL>(name, "isKindOfClass:"_sel, "NSString"_cls));
    EXPECT_EQ(text(objc::cast<NS::String>(name)), "12");
    EXPECT_EQ(posted().size(), 4u);
    // Editing again without a change writes nothing.
    tapRow(cellNamed(p, "Name"));
    UI::textField::typeText(field, "\n");
    settle();
    EXPECT_EQ(posted().size(), 4u);
    // No row stays selected after its tap.
    EXPECT_EQ(p->table()->indexPathForSelectedRow(), nullptr);
}

TEST_F(ListTableTest, SegmentedSlidersTakeWholeStepsAndContinuousOnesWriteEveryStep) {
    auto p = pane(row("PSSliderCell", "",
                      keyed("size",
                            "<key>min</key><integer>0</integer><key>max</key><integer>10</integer>"
                            "<key>isSegmented</key><true/><key>segmentCount</key><integer>10</integer>"
                            "<key>showValue</key><true/>")) +
                  row("PSSliderCell", "Live", keyed("live", "<key>isContinuous</key><true/>")));
    show(p);
    std::vector<PS::TableCell*> cells = PS::listTable::cellsOf(p);
    ASSERT_EQ(cells.size(), 2u);
    UI::Slider* size = PS::listTable::sliderOf(cells[0]);
    UI::slider::dragToValue(size, 3.4f);
    settle();
    EXPECT_EQ(size->value(), 3);
    EXPECT_EQ(objc::send<double>(settingsFile(kDomain)->objectForKey("size"_ns), "doubleValue"_sel), 3);
    EXPECT_EQ(posted().size(), 1u);
    // The value shows at the right of the slider, which leaves room for it.
    std::vector<std::string> labels;
    for (UI::View* v : {cells[0]->contentView()}) {
        NS::Array* subviews = v->subviews();
        for (NSUInteger i = 0; i < subviews->count(); ++i) {
            id view = subviews->objectAtIndex(i);
            if (objc::send<BOOL>(view, "isKindOfClass:"_sel, "UILabel"_cls))
                labels.push_back(text(objc::cast<UI::Label>(view)->text()));
        }
    }
    EXPECT_NE(std::find(labels.begin(), labels.end(), "3"), labels.end());
    EXPECT_LE(CGRectGetMaxX(size->frame()), 320 - 15 - 44);

    UI::slider::dragToValue(PS::listTable::sliderOf(cells[1]), 0.8f);
    settle();
    EXPECT_GT(posted().size(), 2u);
    EXPECT_NEAR(objc::send<double>(settingsFile(kDomain)->objectForKey("live"_ns), "doubleValue"_sel), 0.8, 0.01);
}

TEST_F(ListTableTest, AListRowOpensItsChoicesAChoiceIsSavedAndShownBack) {
    auto p = pane(row(
        "PSLinkListCell", "Mode",
        keyed("mode",
              "<key>default</key><integer>1</integer>"
              "<key>detail</key><string>PSListItemsController</string>"
              "<key>validValues</key><array><integer>1</integer><integer>2</integer><integer>3</integer></array>"
              "<key>validTitles</key><array><string>One</string><string>Two</string><string>Three</string></array>")));
    UI::NavigationController* nav = show(p);
    EXPECT_EQ(PS::listTable::shownValue(cellNamed(p, "Mode")).text, "One");
    tapRow(cellNamed(p, "Mode"));
    auto* list = objc::cast<PS::ListItemsController>(nav->topViewController());
    ASSERT_TRUE(objc::send<BOOL>(list, "isKindOfClass:"_sel, "PSListItemsController"_cls));
    EXPECT_EQ(text(list->title()), "Mode");
    EXPECT_EQ(list->parentController(), p.get());
    auto titles = [&] {
        std::vector<std::string> out;
        for (const auto& c : PS::listTable::choicesOf(list)) out.push_back(c.title + (c.checked ? " *" : ""));
        return out;
    };
    EXPECT_EQ(titles(), (std::vector<std::string>{"One *", "Two", "Three"}));
    EXPECT_EQ(PS::listTable::kindOf(PS::listTable::choicesOf(list)[0].cell), "choice");

    tapRow(PS::listTable::choicesOf(list)[2].cell);
    EXPECT_EQ(titles(), (std::vector<std::string>{"One", "Two", "Three *"}));
    EXPECT_EQ(objc::send<NSInteger>(settingsFile(kDomain)->objectForKey("mode"_ns), "integerValue"_sel), 3);
    EXPECT_EQ(posted(), std::vector<std::string>{"com.example.tabletest/changed"});
    EXPECT_EQ(list->table()->indexPathForSelectedRow(), nullptr);

    UI::input::tap(centre(UI::navigationBar::backButton(nav->navigationBar())));
    settle();
    EXPECT_EQ(nav->topViewController(), p.get());
    EXPECT_EQ(PS::listTable::shownValue(cellNamed(p, "Mode")).text, "Three");
}

TEST_F(ListTableTest, LinksPushTheirDetailPaneAndNothingWhenThereIsNone) {
    detailClass();
    auto p = pane(row("PSLinkCell", "Details", "<key>detail</key><string>TableTestDetail</string>") +
                  row("PSLinkCell", "Missing", "<key>detail</key><string>NoSuchController</string>") +
                  row("PSLinkCell", "Not a pane", "<key>detail</key><string>TableNotACell</string>") +
                  row("PSLinkCell", "Nowhere"));
    UI::NavigationController* nav = show(p);
    for (const char* name : {"Missing", "Not a pane", "Nowhere"}) {
        tapRow(cellNamed(p, name));
        EXPECT_EQ(nav->topViewController(), p.get()) << name;
    }
    tapRow(cellNamed(p, "Details"));
    UI::ViewController* top = nav->topViewController();
    EXPECT_EQ(object_getClass(objc::asId(top)), detailClass());
    EXPECT_EQ(text(top->title()), "Details");
    EXPECT_EQ(journal(), std::vector<std::string>{"setSpecifier:Details"});
    EXPECT_EQ(p->table()->indexPathForSelectedRow(), nullptr);
}

TEST_F(ListTableTest, ButtonsSendTheirActionWithTheRowWhenTheSelectorTakesOne) {
    auto p = pane(row("PSButtonCell", "Plain", "<key>action</key><string>pressed</string>") +
                  row("PSButtonCell", "With row", "<key>action</key><string>pressedRow:</string>") +
                  row("PSButtonCell", "Unanswered", "<key>action</key><string>noSuchAction</string>") +
                  row("PSButtonCell", "No action"));
    show(p);
    for (const char* name : {"Plain", "With row", "Unanswered", "No action"}) {
        tapRow(cellNamed(p, name));
        EXPECT_FALSE(cellNamed(p, name)->isSelected()) << name;
    }
    EXPECT_EQ(journal(), (std::vector<std::string>{"pressed", "pressedRow:With row"}));
}

TEST_F(ListTableTest, GettersAndSettersOfTheRowsTargetTakeThePlaceOfTheFile) {
    auto p = pane(
        row("PSEditTextCell", "Level", "<key>get</key><string>level</string><key>set</key><string>setLevel:</string>") +
        row("PSSwitchCell", "Level switch",
            "<key>get</key><string>levelForRow:</string><key>set</key><string>setLevel:forRow:</string>") +
        row("PSSwitchCell", "Raw", "<key>get</key><string>rawLevel</string><key>default</key><true/>") +
        row("PSSwitchCell", "Unanswered",
            "<key>get</key><string>nothing</string><key>set</key><string>nothing:</string>"));
    show(p);
    UI::TextField* field = PS::listTable::textFieldOf(cellNamed(p, "Level"));
    tapRow(cellNamed(p, "Level"));
    UI::textField::typeText(field, "1\n");
    settle();
    UI::input::tap(centre(PS::listTable::switchOf(cellNamed(p, "Level switch"))));
    settle();
    EXPECT_EQ(journal(), (std::vector<std::string>{"setLevel:1", "setLevel:specifier:1,Level switch"}));
    // A getter that gives no object, or none the target answers, leaves the
    // row's "default"; a setter it does not answer writes nothing.
    EXPECT_TRUE(PS::listTable::shownValue(cellNamed(p, "Raw")).boolean);
    UI::input::tap(centre(PS::listTable::switchOf(cellNamed(p, "Unanswered"))));
    settle();
    EXPECT_EQ(journal().size(), 2u);
    EXPECT_TRUE(posted().empty());
}

TEST_F(ListTableTest, CustomCellClassesAreUsedOnlyWhenTheyAreFrameworkCells) {
    paneClass();
    auto p = pane(row("PSSwitchCell", "Counted", "<key>cellClass</key><string>TableCountingCell</string>") +
                  row("PSLinkCell", "Missing", "<key>cellClass</key><string>NoSuchCell</string>") +
                  row("PSButtonCell", "Not a cell", "<key>cellClass</key><string>TableNotACell</string>") +
                  row("PSStaticTextCell", "UIKit cell", "<key>cellClass</key><string>UITableViewCell</string>"));
    show(p);
    struct Case {
        const char* name;
        const char* cls;
        const char* kind;
    };
    for (const Case& c :
         {Case{"Counted", "TableCountingCell", "TableCountingCell"}, Case{"Missing", "PSTableCell", "link"},
          Case{"Not a cell", "PSTableCell", "button"}, Case{"UIKit cell", "PSTableCell", "static"}}) {
        PS::TableCell* cell = cellNamed(p, c.name);
        ASSERT_NE(cell, nullptr);
        EXPECT_STREQ(object_getClassName(objc::asId(cell)), c.cls) << c.name;
        EXPECT_EQ(PS::listTable::kindOf(cell), c.kind);
    }
    // The custom cell is still dressed for its row's kind.
    EXPECT_NE(PS::listTable::switchOf(cellNamed(p, "Counted")), nullptr);
}

TEST_F(ListTableTest, EveryReloadPlacesEachCellOnceAndAsksForTheRowsAgain) {
    const std::string items = row("PSGroupCell", "G") +
                              row("PSStaticTextCell", "One", "<key>cellClass</key><string>TableCountingCell</string>") +
                              row("PSStaticTextCell", "Two", "<key>cellClass</key><string>TableCountingCell</string>");
    auto p = pane(items);
    show(p);
    EXPECT_EQ(countedPlacements(), 2);
    const int asked = specifiersRequests(objc::asId(p.get()));
    p->reload();
    settle();
    EXPECT_EQ(countedPlacements(), 4);
    EXPECT_GT(specifiersRequests(objc::asId(p.get())), asked);
    // The base rebuilds before it appears.
    p->viewWillAppear(NO);
    EXPECT_EQ(countedPlacements(), 6);

    // A pane that reloads itself in viewWillAppear: places its cells once per
    // appearance: when pushed, and when shown again after a pop.
    detailClass();
    auto sub = pane(items + row("PSLinkCell", "Next", "<key>detail</key><string>TableTestDetail</string>"),
                    reloadingPaneClass());
    countedPlacements() = 0;
    navigation->pushViewController(sub, YES);
    settle();
    EXPECT_EQ(countedPlacements(), 2);
    tapRow(cellNamed(sub, "Next"));
    EXPECT_EQ(countedPlacements(), 2);
    UI::input::tap(centre(UI::navigationBar::backButton(navigation->navigationBar())));
    settle();
    EXPECT_EQ(navigation->topViewController(), sub.get());
    EXPECT_EQ(countedPlacements(), 4);
}

TEST_F(ListTableTest, ListsWithNothingToShowShowAnEmptyGroupedTable) {
    for (const std::string& items :
         {std::string(), row("PSGroupCell", ""), std::string("<string>not a row</string><integer>3</integer>")}) {
        auto p = pane(items);
        show(p);
        EXPECT_EQ(PS::listTable::cellsOf(p).size(), 0u);
        window->setHidden(YES);
    }
    // A pane whose rows are not an array at all.
    auto p = pane("");
    PS::ListController::specifiersIvar(objc::asId(p.get())) = objc::retain("rows"_ns);
    show(p);
    EXPECT_EQ(p->table()->numberOfSections(), 0);
}

TEST_F(ListTableTest, TheGroupedLookHasItsBackgroundWhiteCellsAndAGreenSwitch) {
    NS::MutableDictionary* stored = NS::MutableDictionary::dictionary();
    stored->setObject(NS::Number::numberWithBool(YES), "on"_ns);
    writeSettings(kDomain, stored);
    auto p = pane(row("PSGroupCell", "") + row("PSSwitchCell", "Enabled", keyed("on")) + row("PSLinkCell", "More"));
    show(p);
    keepScreenshot("grouped-table");
    uitest::Picture screen(UI::screenshot::createScreenImage());
    ASSERT_TRUE(screen.valid());
    auto at = [&](CGFloat x, CGFloat y) { return screen.at(static_cast<int>(x * 2), static_cast<int>(y * 2)); };
    // Grouped space between the bars and the first row, and below the rows.
    EXPECT_EQ(at(160, 64 + 17), (uitest::Pixel{0xEF, 0xEF, 0xF4, 255}));
    EXPECT_EQ(at(160, 64 + 35 + 88 + 20), (uitest::Pixel{0xEF, 0xEF, 0xF4, 255}));
    // A white cell right of its title.
    EXPECT_EQ(at(200, 64 + 35 + 44 + 22), uitest::kWhite);
    // The switch of the first row is on: its track is the system green.
    UI::Switch* control = PS::listTable::switchOf(cellNamed(p, "Enabled"));
    const CGPoint c = centre(control);
    EXPECT_EQ(at(c.x - 12, c.y), (uitest::Pixel{0x4C, 0xD9, 0x64, 255}));
}

}  // namespace
