// The settings bundle's own panes in the table: the root pane's rows and
// values, the sub-panes its links open, their colour cells (placed once per
// appearance, each ending Messages), and the support pane's buttons.
#include "ListTableTesting.h"

#include "../uikit/UIKitTesting.h"

#include "HBPreviewCell.h"
#include "PFColorCellHB.h"
#include "PaneControllers.h"

#include <ColorPickerKit.h>
#include <Device/SystemCommand.h>
#include <UIKit/TestSupport.h>

namespace {

using namespace tabletest;

const std::string kResources = std::string(HB_SOURCE_DIR) + "/prefs/Resources";

class BundlePanesTest : public ListTableTest {
protected:
    static void SetUpTestSuite() {
        colorpicker::registerClasses();
        huebloom::registerPaneControllers();
        huebloom::registerColorCell();
        huebloom::registerPreviewCell();
    }

    Ref<PS::ListController> root() {
        auto p = objc::adopt(
            objc::send<PS::ListController*>(objc::send<id>("HuebloomListController"_cls, "alloc"_sel), "init"_sel));
        p->setBundlePath(NS::String::stringWithUTF8String(kResources.c_str()));
        p->setTitle("Huebloom"_ns);
        return p;
    }
    PS::ListController* top() { return objc::cast<PS::ListController>(navigation->topViewController()); }
    void back() {
        UI::input::tap(centre(UI::navigationBar::backButton(navigation->navigationBar())));
        settle();
    }

    static std::vector<std::string> kinds(PS::ListController* pane) {
        std::vector<std::string> out;
        for (PS::TableCell* cell : PS::listTable::cellsOf(pane)) out.push_back(PS::listTable::kindOf(cell));
        return out;
    }
    static std::size_t colourCells(PS::ListController* pane) {
        std::size_t n = 0;
        for (const std::string& k : kinds(pane)) n += k == "PFColorCellHB";
        return n;
    }
};

TEST_F(BundlePanesTest, TheRootPaneShowsItsSwitchChoicesAndLinksAndSavesThem) {
    auto r = root();
    show(r);
    keepScreenshot("huebloom-root");
    EXPECT_EQ(kinds(r), (std::vector<std::string>{"HBPreviewCell", "switch", "list", "list", "list", "link", "link",
                                                  "link", "link", "link", "link", "link"}));
    for (const char* mode : {"iMessage", "SMS", "Received"})
        EXPECT_EQ(PS::listTable::shownValue(cellNamed(r, mode)).text, "System");
    EXPECT_FALSE(PS::listTable::shownValue(cellNamed(r, "Enabled")).boolean);

    UI::input::tap(centre(PS::listTable::switchOf(cellNamed(r, "Enabled"))));
    settle();
    NS::Dictionary* saved = settingsFile("com.Quillfen.huebloom");
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(objc::send<BOOL>(saved->objectForKey("enabled"_ns), "boolValue"_sel));

    tapRow(cellNamed(r, "SMS"));
    auto* list = objc::cast<PS::ListItemsController>(top());
    ASSERT_TRUE(objc::send<BOOL>(list, "isKindOfClass:"_sel, "PSListItemsController"_cls));
    std::vector<std::string> titles;
    for (const auto& c : PS::listTable::choicesOf(list)) titles.push_back(c.title + (c.checked ? " *" : ""));
    EXPECT_EQ(titles, (std::vector<std::string>{"System *", "Gradient", "Solid", "Stripes", "Random", "Clear"}));
    keepScreenshot("huebloom-list");
    tapRow(PS::listTable::choicesOf(list)[2].cell);
    back();
    EXPECT_EQ(top(), r.get());
    // The root reads its settings file for each row, so it shows the choice.
    EXPECT_EQ(PS::listTable::shownValue(cellNamed(r, "SMS")).text, "Solid");
    EXPECT_EQ(objc::send<NSInteger>(settingsFile("com.Quillfen.huebloom")->objectForKey("sms"_ns), "integerValue"_sel),
              2);
    EXPECT_EQ(posted(), (std::vector<std::string>{"com.Quillfen.huebloom/settingschanged",
                                                  "com.Quillfen.huebloom/settingschanged"}));
}

TEST_F(BundlePanesTest, ASubPanePlacesEachColourCellOncePerAppearance) {
    auto r = root();
    show(r);
    const std::size_t before = device::systemCommandCount();
    tapRow(cellNamed(r, "iMessage Balloons"));
    PS::ListController* pane = top();
    ASSERT_STREQ(object_getClassName(objc::asId(pane)), "imessageListController");
    EXPECT_EQ(text(pane->title()), "iMessage Balloons");
    const std::size_t colours = colourCells(pane);
    EXPECT_EQ(colours, 9u);
    EXPECT_EQ(device::systemCommandCount() - before, colours);
    keepScreenshot("huebloom-imessage");

    // The Top row opens its chooser; what it saves shows when the pane is
    // back, after one rebuild: each cell taken out once and placed once.
    tapRow(cellNamed(pane, "Top"));
    ASSERT_STREQ(object_getClassName(objc::asId(navigation->topViewController())), "PFColorViewController");
    NS::MutableDictionary* saved = NS::MutableDictionary::dictionary();
    saved->setObject("#FF0000"_ns, "top"_ns);
    writeSettings("com.Quillfen.huebloom", saved);
    const std::size_t whileChoosing = device::systemCommandCount();
    back();
    EXPECT_EQ(top(), pane);
    EXPECT_EQ(device::systemCommandCount() - whileChoosing, 2 * colours);
    UI::View* swatch = cellNamed(pane, "Top")->accessoryView();
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->tag(), huebloom::kSwatchTag);
    uitest::Picture screen(UI::screenshot::createScreenImage());
    const CGPoint c = centre(swatch);
    EXPECT_EQ(screen.at(static_cast<int>(c.x * 2), static_cast<int>(c.y * 2)), (uitest::Pixel{255, 0, 0, 255}));
}

TEST_F(BundlePanesTest, EveryLinkOfTheRootOpensItsPaneWithRows) {
    auto r = root();
    show(r);
    struct Case {
        const char* link;
        const char* cls;
        std::vector<std::string> firstKinds;
    };
    const Case cases[] = {
        {"SMS Balloons", "smsListController", {"HBPreviewCell", "PFColorCellHB"}},
        {"Received Balloons", "grayListController", {"HBPreviewCell", "PFColorCellHB"}},
        {"Transparent Balloons", "TbColorListController", {"switch", "PFColorCellHB", "slider", "slider"}},
        {"Tails & Photos", "BubblesListController", {"switch", "switch"}},
        {"Other Colours", "OtherSListController", {"PFColorCellHB"}},
        {"Support", "supportListController", {"button", "button", "button", "button"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        tapRow(cellNamed(r, c.link));
        PS::ListController* pane = top();
        EXPECT_STREQ(object_getClassName(objc::asId(pane)), c.cls);
        std::vector<std::string> shown = kinds(pane);
        ASSERT_GE(shown.size(), c.firstKinds.size());
        EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + c.firstKinds.size()), c.firstKinds);
        if (std::string(c.cls) == "TbColorListController") keepScreenshot("huebloom-transparent");
        if (std::string(c.cls) == "supportListController") {
            UI::application::forgetOpenedURLs();
            tapRow(cellNamed(pane, "Email Support"));
            ASSERT_EQ(UI::application::openedURLs().size(), 1u);
            EXPECT_EQ(UI::application::openedURLs()[0].rfind("mailto:", 0), 0u);
        }
        back();
        EXPECT_EQ(top(), r.get());
    }
}

}  // namespace
