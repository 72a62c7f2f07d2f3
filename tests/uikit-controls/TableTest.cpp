// Tables: loading and reloading cells (each placement heard by the cell),
// the grouped geometry and its drawing, selection and scrolling; and a
// Settings screen built from them, photographed to be looked at.
#include "ControlsTesting.h"

#include <Foundation/NSArray.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITableView.h>

namespace {

using namespace ctltest;
using Strings = std::vector<std::string>;
using NS::IndexPath;
using UI::TableView;
using UI::TableViewCell;

// Cells that count how often they moved to a superview.
int& placements() {
    static int count = 0;
    return count;
}

void countPlacement(id self, SEL s) {
    objc::sendSuper<void>(self, objc_getClass("CountingCell"), s);
    ++placements();
}

Class countingCellClass() {
    static Class cls =
        objc::ClassBuilder("CountingCell", "UITableViewCell"_cls).method("didMoveToSuperview", &countPlacement).build();
    return cls;
}

// A data source and delegate over sections held in C++.
struct SourceState {
    struct Section {
        std::string header, footer;
        std::vector<Ref<TableViewCell>> cells;
        std::vector<CGFloat> heights;  // empty: the table's row height
    };
    std::vector<Section> sections;
};

NSInteger sectionCount(id self, SEL, id) {
    return static_cast<NSInteger>(objc::state<SourceState>(self).sections.size());
}
NSInteger rowCount(id self, SEL, id, NSInteger section) {
    return static_cast<NSInteger>(objc::state<SourceState>(self).sections[section].cells.size());
}
id cellFor(id self, SEL, id, id path) {
    auto* p = objc::cast<IndexPath>(path);
    return objc::asId(objc::state<SourceState>(self).sections[p->section()].cells[p->row()].get());
}
id titleOr(const std::string& text) {
    return text.empty() ? nil : objc::asId(NS::String::stringWithUTF8String(text.c_str()));
}
id header(id self, SEL, id, NSInteger section) {
    return titleOr(objc::state<SourceState>(self).sections[section].header);
}
id footer(id self, SEL, id, NSInteger section) {
    return titleOr(objc::state<SourceState>(self).sections[section].footer);
}
CGFloat heightFor(id self, SEL, id table, id path) {
    auto* p = objc::cast<IndexPath>(path);
    const auto& heights = objc::state<SourceState>(self).sections[p->section()].heights;
    return heights.empty() ? objc::cast<TableView>(table)->rowHeight() : heights[p->row()];
}
void didSelect(id, SEL s, id, id path) {
    auto* p = objc::cast<IndexPath>(path);
    journal().push_back(std::string(sel_getName(s)) + "(" + std::to_string(p->section()) + "," +
                        std::to_string(p->row()) + ")");
}

Class sourceClass() {
    static Class cls = objc::ClassBuilder("TableTestSource", "NSObject"_cls)
                           .state<SourceState>()
                           .method("numberOfSectionsInTableView:", &sectionCount)
                           .method("tableView:numberOfRowsInSection:", &rowCount)
                           .method("tableView:cellForRowAtIndexPath:", &cellFor)
                           .method("tableView:titleForHeaderInSection:", &header)
                           .method("tableView:titleForFooterInSection:", &footer)
                           .method("tableView:heightForRowAtIndexPath:", &heightFor)
                           .method("tableView:didSelectRowAtIndexPath:", &didSelect)
                           .build();
    return cls;
}

class TableTest : public ControlsTest {
protected:
    TableTest() {
        placements() = 0;
        source_ = objc::adopt(objc::send<NS::Object*>(objc::send<id>(sourceClass(), "alloc"_sel), "init"_sel));
    }

    SourceState& data() { return objc::state<SourceState>(source_.get()); }

    static Ref<TableViewCell> cell(const char* text, UI::UITableViewCellStyle style = UI::UITableViewCellStyleDefault,
                                   const char* detail = nullptr, Class cls = countingCellClass()) {
        Ref<TableViewCell> c = objc::adopt(objc::send<TableViewCell*>(
            objc::send<id>(cls, "alloc"_sel), "initWithStyle:reuseIdentifier:"_sel, style, static_cast<id>(nil)));
        c->textLabel()->setText(NS::String::stringWithUTF8String(text));
        if (detail) c->detailTextLabel()->setText(NS::String::stringWithUTF8String(detail));
        return c;
    }

    // A grouped table over the whole screen of a shown window, laid out.
    Ref<TableView> showTable() {
        Ref<TableView> table =
            objc::adopt(TableView::alloc()->initWithFrame(CGRectMake(0, 0, 320, 568), UI::UITableViewStyleGrouped));
        table->setDataSource(source_);
        table->setDelegate(source_);
        showWindow()->addSubview(table);
        UI::updateDisplay();
        return table;
    }

    Ref<NS::Object> source_;
};

TEST_F(TableTest, EveryReloadTakesTheCellsOutAndPlacesThemAgain) {
    data().sections = {{"", "", {cell("One"), cell("Two")}, {}}, {"", "", {cell("Three")}, {}}};
    auto table = showTable();
    EXPECT_EQ(placements(), 3);  // placed by the first layout
    for (auto& sec : data().sections)
        for (auto& c : sec.cells) EXPECT_EQ(c->superview(), table.get());

    table->reloadData();
    EXPECT_EQ(placements(), 3 + 3 + 3);  // each taken out, each placed again
    UI::updateDisplay();
    EXPECT_EQ(placements(), 9);  // a layout without a reload places nothing

    // Cells the data source no longer gives leave the table.
    Ref<TableViewCell> first = data().sections[0].cells[0];
    data().sections = {{"", "", {cell("Fresh")}, {}}};
    table->reloadData();
    EXPECT_EQ(first->superview(), nullptr);
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->numberOfRowsInSection(5), 0);
    EXPECT_EQ(table->cellForRowAtIndexPath(IndexPath::indexPathForRow(0, 0)), data().sections[0].cells[0].get());
}

TEST_F(TableTest, GroupedSectionsStack44PointRowsWithGapsAndTitles) {
    data().sections = {{"", "", {cell("A"), cell("B")}, {}},
                       {"Colors", "Changes restart Messages.", {cell("C"), cell("D")}, {44, 60}}};
    auto table = showTable();
    struct Case {
        NSInteger section, row;
        CGRect rect;
    };
    const Case cases[] = {
        {0, 0, CGRectMake(0, 35, 320, 44)},
        {0, 1, CGRectMake(0, 79, 320, 44)},
        {1, 0, CGRectMake(0, 123 + 55, 320, 44)},
        {1, 1, CGRectMake(0, 222, 320, 60)},
    };
    for (const Case& c : cases) {
        IndexPath* p = IndexPath::indexPathForRow(c.row, c.section);
        EXPECT_TRUE(CGRectEqualToRect(table->rectForRowAtIndexPath(p), c.rect)) << c.section << "," << c.row;
        EXPECT_TRUE(CGRectEqualToRect(table->cellForRowAtIndexPath(p)->frame(), c.rect));
        EXPECT_TRUE(table->indexPathForRowAtPoint(CGPointMake(10, CGRectGetMidY(c.rect)))->isEqual(p));
    }
    EXPECT_EQ(table->indexPathForRowAtPoint(CGPointMake(10, 10)), nullptr);  // the gap above the first row
    CGSize size = table->contentSize();
    EXPECT_GT(size.height, 282 + 35);  // the footer and the gap below the last section
}

TEST_F(TableTest, TheGroupedLookHasItsBackgroundWhiteRowsAndInsetSeparators) {
    data().sections = {{"", "", {cell("A"), cell("B")}, {}}};
    auto table = showTable();
    uitest::Picture p = uitest::pictureOf(table);
    const Pixel background{0xEF, 0xEF, 0xF4, 255}, separator{0xC8, 0xC7, 0xCC, 255};
    EXPECT_EQ(p.at(300, 40), background);       // the gap above the section
    EXPECT_EQ(p.at(10, 70), separator);         // the section's top edge, full width
    EXPECT_EQ(p.at(300, 100), uitest::kWhite);  // inside a row
    EXPECT_EQ(p.at(10, 157), uitest::kWhite);   // between rows, left of the inset
    EXPECT_EQ(p.at(40, 157), separator);        // between rows, past the 15-point inset
    EXPECT_EQ(p.at(10, 245), separator);        // the section's bottom edge, full width
    EXPECT_EQ(p.at(300, 250), background);
}

TEST_F(TableTest, AValue1CellShowsItsGrayDetailAtTheRightAndAnAccessoryFifteenPointsIn) {
    Ref<TableViewCell> c = cell("Version", UI::UITableViewCellStyleValue1, "1.0");
    c->setFrame(CGRectMake(0, 0, 320, 44));
    c->layoutIfNeeded();
    UI::Label* detail = c->detailTextLabel();
    EXPECT_NEAR(CGRectGetMaxX(detail->frame()), 305, 0.01);
    EXPECT_TRUE(detail->textColor()->isEqual(UI::Color::colorWithRed(0x8E / 255.0, 0x8E / 255.0, 0x93 / 255.0, 1)));
    EXPECT_EQ(c->textLabel()->frame().origin.x, 15);

    Ref<UI::View> swatch = makeView(CGRectMake(0, 0, 51, 29), UI::Color::redColor());
    c->setAccessoryView(swatch);
    c->layoutIfNeeded();
    EXPECT_TRUE(CGRectEqualToRect(swatch->frame(), CGRectMake(320 - 15 - 51, 8, 51, 29)));
    EXPECT_LT(CGRectGetMaxX(detail->frame()), swatch->frame().origin.x);

    Ref<TableViewCell> more = cell("General");
    more->setAccessoryType(UI::UITableViewCellAccessoryDisclosureIndicator);
    more->setFrame(CGRectMake(0, 0, 320, 44));
    uitest::Picture p = uitest::pictureOf(more);
    int chevron = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 580; x < 610; ++x) chevron += near(p.at(x, y), Pixel{0xC7, 0xC7, 0xCC, 255}, 3);
    EXPECT_GT(chevron, 10);
}

TEST_F(TableTest, ATapSelectsTheRowAndTellsTheDelegate) {
    data().sections = {{"", "", {cell("A")}, {}}, {"", "", {cell("B"), cell("C")}, {}}};
    auto table = showTable();
    TableViewCell* c = table->cellForRowAtIndexPath(IndexPath::indexPathForRow(1, 1));
    UI::input::Finger finger(screenCentre(c));
    EXPECT_TRUE(c->isHighlighted());
    finger.lift();
    EXPECT_EQ(journal(), (Strings{"tableView:didSelectRowAtIndexPath:(1,1)"}));
    EXPECT_TRUE(c->isSelected());
    EXPECT_TRUE(table->indexPathForSelectedRow()->isEqual(IndexPath::indexPathForRow(1, 1)));
    table->deselectRowAtIndexPath(IndexPath::indexPathForRow(1, 1), NO);
    EXPECT_FALSE(c->isSelected());
    EXPECT_EQ(table->indexPathForSelectedRow(), nullptr);
}

TEST_F(TableTest, ADelegateThatAnswersNilToWillSelectKeepsTheRowUnselected) {
    static Class refusing = objc::ClassBuilder("TableTestRefusingDelegate", "NSObject"_cls)
                                .method(
                                    "tableView:willSelectRowAtIndexPath:",
                                    +[](id, SEL, id, id) -> id {
                                        journal().push_back("willSelect");
                                        return nil;
                                    })
                                .method("tableView:didSelectRowAtIndexPath:", &didSelect)
                                .build();
    data().sections = {{"", "", {cell("A")}, {}}};
    Ref<NS::Object> d = objc::adopt(objc::send<NS::Object*>(objc::send<id>(refusing, "alloc"_sel), "init"_sel));
    auto table = showTable();
    table->setDelegate(d);
    UI::updateDisplay();
    TableViewCell* c = table->cellForRowAtIndexPath(IndexPath::indexPathForRow(0, 0));
    UI::input::tap(screenCentre(c));
    EXPECT_EQ(journal(), (Strings{"willSelect"}));
    EXPECT_FALSE(c->isSelected());
    EXPECT_EQ(table->indexPathForSelectedRow(), nullptr);
}

TEST_F(TableTest, HeadersAreUpperCaseAndAPlainTableStacksRowsWithoutGaps) {
    data().sections = {{"Balloon colors", "", {cell("A")}, {}}, {"", "", {cell("B")}, {}}};
    auto grouped = showTable();
    bool found = false;
    for (NSUInteger i = 0; i < grouped->subviews()->count(); ++i) {
        id v = grouped->subviews()->objectAtIndex(i);
        if (!objc::send<BOOL>(v, "isKindOfClass:"_sel, "UILabel"_cls)) continue;
        found = found || objc::cast<UI::Label>(v)->text()->isEqualToString("BALLOON COLORS"_ns);
    }
    EXPECT_TRUE(found);

    Ref<TableView> plain =
        objc::adopt(TableView::alloc()->initWithFrame(CGRectMake(0, 0, 320, 300), UI::UITableViewStylePlain));
    data().sections = {{"", "", {cell("A"), cell("B")}, {}}, {"", "", {cell("C")}, {}}};
    plain->setDataSource(source_);
    plain->reloadData();
    EXPECT_TRUE(
        CGRectEqualToRect(plain->rectForRowAtIndexPath(IndexPath::indexPathForRow(0, 1)), CGRectMake(0, 88, 320, 44)));
    EXPECT_EQ(plain->contentSize().height, 132);
    EXPECT_TRUE(plain->backgroundColor()->isEqual(UI::Color::whiteColor()));
}

TEST_F(TableTest, ScrollingToARowBelowTheScreenBringsItWhereAFingerCanReachIt) {
    std::vector<Ref<TableViewCell>> many;
    for (int i = 0; i < 30; ++i) many.push_back(cell(("Row " + std::to_string(i)).c_str()));
    data().sections = {{"", "", many, {}}};
    auto table = showTable();
    IndexPath* last = IndexPath::indexPathForRow(29, 0);
    EXPECT_GT(CGRectGetMaxY(table->rectForRowAtIndexPath(last)), 568);
    table->scrollToRowAtIndexPath(last, UI::UITableViewScrollPositionNone, NO);
    // The whole row shows at the bottom of the table.
    CGRect row = table->rectForRowAtIndexPath(last);
    EXPECT_NEAR(table->contentOffset().y, CGRectGetMaxY(row) - 568, 0.01);
    UI::input::tap(screenCentre(table->cellForRowAtIndexPath(last)));
    EXPECT_EQ(journal(), (Strings{"tableView:didSelectRowAtIndexPath:(0,29)"}));
    // At the top of the screen, but never past the end of the content.
    table->scrollToRowAtIndexPath(IndexPath::indexPathForRow(0, 0), UI::UITableViewScrollPositionTop, NO);
    EXPECT_EQ(table->contentOffset().y, 35);
    table->scrollToRowAtIndexPath(IndexPath::indexPathForRow(27, 0), UI::UITableViewScrollPositionTop, NO);
    EXPECT_EQ(table->contentOffset().y, table->contentSize().height - 568);
}

// A finger drags the content: once it has moved a few points the table
// follows it, stops at its ends, and the cell it went down on is not tapped;
// a finger that only trembles still taps.
TEST_F(TableTest, AFingerDragsTheContentInsteadOfTapping) {
    std::vector<Ref<TableViewCell>> many;
    for (int i = 0; i < 30; ++i) many.push_back(cell(("Row " + std::to_string(i)).c_str()));
    data().sections = {{"", "", many, {}}};
    auto table = showTable();
    const CGPoint start = screenCentre(table->cellForRowAtIndexPath(IndexPath::indexPathForRow(10, 0)));
    UI::input::drag(start, CGPointMake(start.x, start.y - 200), 10);
    EXPECT_NEAR(table->contentOffset().y, 200, 0.01);
    EXPECT_TRUE(journal().empty()) << "a drag taps nothing";
    EXPECT_FALSE(objc::send<BOOL>(table.get(), "isDragging"_sel)) << "the finger has lifted";
    UI::input::drag(start, CGPointMake(start.x, start.y - 5000), 10);
    EXPECT_EQ(table->contentOffset().y, table->contentSize().height - 568);
    UI::input::drag(start, CGPointMake(start.x, start.y + 5000), 10);
    EXPECT_EQ(table->contentOffset().y, 0);
    {
        UI::input::Finger finger(start);
        finger.moveTo(CGPointMake(start.x + 3, start.y + 4));
    }
    EXPECT_EQ(journal(), (Strings{"tableView:didSelectRowAtIndexPath:(0,10)"}));
}

// A settings pane as the Settings app shows one: a grouped table with a
// switch row, a slider row and a value row, under a navigation bar.
TEST_F(TableTest, ASettingsPaneLooksLikeTheSystemsOwn) {
    Ref<UI::Switch> toggle = objc::adopt(UI::Switch::alloc()->initWithFrame(CGRectZero));
    toggle->setOn(YES);
    Ref<TableViewCell> enabled = cell("Enabled", UI::UITableViewCellStyleDefault, nullptr, "UITableViewCell"_cls);
    enabled->setAccessoryView(toggle);
    enabled->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);

    Ref<TableViewCell> sliderRow = cell("", UI::UITableViewCellStyleDefault, nullptr, "UITableViewCell"_cls);
    Ref<UI::Slider> slider = objc::adopt(UI::Slider::alloc()->initWithFrame(CGRectMake(15, 12, 290, 20)));
    slider->setValue(0.35f);
    sliderRow->contentView()->addSubview(slider);
    sliderRow->setSelectionStyle(UI::UITableViewCellSelectionStyleNone);

    Ref<TableViewCell> version = cell("Version", UI::UITableViewCellStyleValue1, "1.2", "UITableViewCell"_cls);
    Ref<TableViewCell> balloons =
        cell("Balloon Colors", UI::UITableViewCellStyleDefault, nullptr, "UITableViewCell"_cls);
    balloons->setAccessoryType(UI::UITableViewCellAccessoryDisclosureIndicator);
    data().sections = {{"", "Turn Huebloom on or off.", {enabled}, {}},
                       {"Corner Radius", "", {sliderRow}, {}},
                       {"About", "", {version, balloons}, {}}};

    Ref<UI::ViewController> pane = objc::adopt(UI::ViewController::alloc()->init());
    pane->setTitle("Huebloom"_ns);
    Ref<TableView> table =
        objc::adopt(TableView::alloc()->initWithFrame(CGRectMake(0, 0, 320, 568), UI::UITableViewStyleGrouped));
    table->setDataSource(source_);
    table->setDelegate(source_);
    pane->setView(table);
    Ref<UI::ViewController> settings = objc::adopt(UI::ViewController::alloc()->init());
    settings->setTitle("Settings"_ns);
    Ref<UI::NavigationController> nav =
        objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(settings));
    nav->pushViewController(pane, NO);
    showWindow()->setRootViewController(nav);

    // The first section starts 35 points below the bars.
    EXPECT_EQ(table->contentInset().top, 64);
    EXPECT_EQ(table->contentOffset().y, -64);
    uitest::Picture screen(UI::screenshot::createScreenImage());
    EXPECT_EQ(screen.at(600, 2 * (64 + 20)), (Pixel{0xEF, 0xEF, 0xF4, 255}));
    CGPoint switchCentre = screenCentre(toggle);
    EXPECT_NEAR(switchCentre.x, 320 - 15 - 25.5, 0.01);
    EXPECT_EQ(screen.at(static_cast<int>(2 * (switchCentre.x - 18)), static_cast<int>(2 * switchCentre.y)),
              (Pixel{0x4C, 0xD9, 0x64, 255}));
    ASSERT_TRUE(UI::screenshot::writeScreenPNG(std::string(HB_BINARY_DIR) + "/uikit-settings-pane.png"));
}

}  // namespace
