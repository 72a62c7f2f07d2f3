// Specifier-list loading: the input bytes become the list "Fuzz.plist" of a
// settings bundle's folder, which a list controller loads with
// loadSpecifiersFromPlistName:target: and then shows: its view, its table,
// the titles of every section and the cell of every row, since that is where
// the rows' values are read and used. A bad list must never crash; it shows
// what it can.
#include "PFColorCellHB.h"
#include "PaneControllers.h"

#include <ColorPickerKit.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSListController.h>
#include <Preferences/PSListTable.h>
#include <UIKit/UIKit.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Fuzz.bundle";

device::TemporaryDevice* made = nullptr;

device::TemporaryDevice& fuzzDevice() {
    // Kept for the whole run; removed at exit, since libFuzzer ends the
    // process without running static destructors in most paths.
    static device::TemporaryDevice* d = [] {
        made = new device::TemporaryDevice;
        std::filesystem::create_directories(*made / kBundle);
        std::atexit([] { delete made; });
        colorpicker::registerClasses();
        huebloom::registerPaneControllers();
        huebloom::registerColorCell();
        NS::loop::useVirtualClock();
        UI::screen::setModel(UI::screen::Model::iPhone5);
        return made;
    }();
    return *d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    device::TemporaryDevice& device = fuzzDevice();
    {
        std::ofstream out(device / (std::string(kBundle) + "/Fuzz.plist"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    objc::AutoreleasePool pool;
    {
        Ref<PS::ListController> pane = objc::adopt(PS::ListController::alloc()->init());
        pane->setBundlePath(NS::String::stringWithUTF8String((device / kBundle).c_str()));
        NS::Array* rows = pane->loadSpecifiersFromPlistName("Fuzz"_ns, pane.get());
        if (rows == nullptr) {
            std::fprintf(stderr, "a list loaded as nil, not as an empty list\n");
            std::abort();
        }
        // As a pane of a bundle keeps its rows; the controller releases them.
        PS::ListController::specifiersIvar(objc::asId(pane.get())) = objc::retain(objc::asId(rows));

        // The view and its table, laid out on the screen: the rows are placed.
        UI::View* view = pane->view();
        view->setFrame(UI::Screen::mainScreen()->bounds());
        UI::TableView* table = pane->table();
        view->layoutIfNeeded();
        if (table != nullptr) {
            table->layoutIfNeeded();
            for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
                (void)objc::send<NS::String*>(pane.get(), "tableView:titleForHeaderInSection:"_sel, table, s);
                (void)objc::send<NS::String*>(pane.get(), "tableView:titleForFooterInSection:"_sel, table, s);
                for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
                    UI::TableViewCell* cell = table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s));
                    if (cell == nullptr || !cell->isKindOfClass("PSTableCell"_cls)) continue;
                    auto* row = objc::cast<PS::TableCell>(cell);
                    (void)PS::listTable::kindOf(row);
                    (void)PS::listTable::shownValue(row);
                }
            }
        }
        // The rows placed a second time, as on every appearance.
        pane->reload();
        view->layoutIfNeeded();
    }
    NS::loop::cancelAll();
    return 0;
}
