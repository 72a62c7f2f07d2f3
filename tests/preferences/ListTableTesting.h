// Shared pieces of the list table tests: a pane class whose rows come from a
// list the test writes, a target that notes what reaches it, a detail pane
// and a counting custom cell, and a window with a navigation controller on
// the iPhone 5 screen, driven on the virtual clock through real touches.
#pragma once

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSListTable.h>
#include <Preferences/SpecifierList.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIKit.h>
#include <UIKit/UIScreenshot.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tabletest {

inline std::string text(const NS::String* s) { return s != nullptr && s->UTF8String() ? s->UTF8String() : ""; }

// What reached the test classes, in order.
inline std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

// How many times a TableCountingCell was put into a superview.
inline int& countedPlacements() {
    static int count = 0;
    return count;
}

// The test pane: its rows are the list in `pendingList()` when it is first
// asked (kept in _specifiers like a bundle's pane), its button actions and
// getters note themselves in the journal.
std::string& pendingList();
Class paneClass();
// A test pane that reloads itself in viewWillAppear: without the base.
Class reloadingPaneClass();
// A plain view controller that notes the row it is given.
Class detailClass();
// The pane's count of `specifiers` requests.
int specifiersRequests(id pane);

// A list file's XML with the given items.
inline std::string listXML(const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>items</key><array>" + items +
           "</array></dict></plist>";
}

class ListTableTest : public ::testing::Test {
protected:
    ListTableTest() {
        NS::loop::useVirtualClock();
        UI::screen::setModel(UI::screen::Model::iPhone5);
        journal().clear();
        countedPlacements() = 0;
    }
    ~ListTableTest() override {
        for (UI::Window* w : UI::application::visibleWindows()) w->setHidden(YES);
        NS::loop::cancelAll();
        pool.drain();
        UI::screen::resetModel();
    }

    // A test pane over the list's items (XML of the row dictionaries).
    Ref<PS::ListController> pane(const std::string& items, Class cls = paneClass()) {
        pendingList() = listXML(items);
        return objc::adopt(objc::send<PS::ListController*>(objc::send<id>(cls, "alloc"_sel), "init"_sel));
    }

    // A test pane over a whole list file of the host.
    Ref<PS::ListController> paneFromFile(const std::string& hostPath) {
        std::ifstream in(hostPath);
        std::stringstream all;
        all << in.rdbuf();
        pendingList() = all.str();
        return objc::adopt(objc::send<PS::ListController*>(objc::send<id>(paneClass(), "alloc"_sel), "init"_sel));
    }

    // Shows the pane as the root of a navigation controller in a key window
    // and lays the screen out.
    UI::NavigationController* show(UI::ViewController* root) {
        window = objc::adopt(UI::Window::alloc()->init());
        navigation = objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(root));
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        settle();
        return navigation;
    }

    // Runs the virtual clock past pushes and pops, laying out as it goes.
    void settle(double seconds = 0.5) {
        for (double t = 0; t < seconds; t += 0.05) {
            NS::loop::runFor(0.05);
            UI::updateDisplay();
        }
    }

    static CGPoint centre(UI::View* view) {
        const CGRect b = view->bounds();
        return view->convertPointToView(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)), nullptr);
    }
    // A finger on the cell's title, left of any control, once the row is
    // scrolled onto the screen.
    void tapRow(UI::TableViewCell* cell) {
        ASSERT_NE(cell, nullptr);
        auto* table = objc::cast<UI::TableView>(cell->superview());
        table->scrollToRowAtIndexPath(table->indexPathForCell(cell), UI::UITableViewScrollPositionNone, NO);
        settle(0.05);
        UI::input::tap(cell->convertPointToView(CGPointMake(40, cell->bounds().size.height / 2), nullptr));
        settle();
    }

    PS::TableCell* cellNamed(PS::ListController* p, const char* name) {
        PS::TableCell* cell = PS::listTable::cellNamed(p, name);
        EXPECT_NE(cell, nullptr) << "no row named " << name;
        return cell;
    }

    // The settings file of a domain, read back from the device.
    NS::Dictionary* settingsFile(const char* domain) {
        return NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithFormat(
            "/var/mobile/Library/Preferences/%@.plist"_ns, NS::String::stringWithUTF8String(domain)));
    }
    void writeSettings(const char* domain, NS::Dictionary* values) {
        ASSERT_TRUE(NS::writePropertyList(values, std::string("/var/mobile/Library/Preferences/") + domain + ".plist"));
    }
    // The Darwin notifications posted in this device, in order.
    std::vector<std::string> posted() {
        std::ifstream in(device / "/var/run/hbsim/notifications.log");
        std::vector<std::string> names;
        for (std::string line; std::getline(in, line);) names.push_back(line);
        return names;
    }

    // Writes a PNG of the screen when HB_SCREENSHOT_DIR names a folder, for
    // a person to look at.
    void keepScreenshot(const char* name) {
        const char* folder = std::getenv("HB_SCREENSHOT_DIR");
        if (folder != nullptr && *folder != '\0')
            UI::screenshot::writeScreenPNG(std::string(folder) + "/" + name + ".png");
    }

    device::TemporaryDevice device;
    objc::AutoreleasePool pool;
    Ref<UI::Window> window;
    Ref<UI::NavigationController> navigation;
};

}  // namespace tabletest
