// The colour row's cell: its swatch, the chooser it opens, and the restart of
// Messages each time it is placed.
#include "PFColorCellHB.h"

#include "ColorReading.h"

#include <ColorPickerKit.h>
#include <PFColorViewController.h>

#include <Device/DevicePath.h>
#include <Device/SystemCommand.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

// A pane stand-in whose navigation controller records what is pushed.
struct Pushes {
    static inline Ref<NS::Object> last;
    static inline int count = 0;
};
void recordPush(id, SEL, id controller, BOOL) {
    Pushes::last = objc::cast<NS::Object>(controller);
    ++Pushes::count;
}
id navigationOf(id, SEL) {
    static id navigation = [] {
        objc::ClassBuilder("ColorCellTestNavigation", "NSObject"_cls)
            .method("pushViewController:animated:", &recordPush)
            .build();
        return objc::send<id>(objc::send<id>("ColorCellTestNavigation"_cls, "alloc"_sel), "init"_sel);
    }();
    return navigation;
}

class ColorCellTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

    static void SetUpTestSuite() {
        colorpicker::registerClasses();
        huebloom::registerColorCell();
        objc::ClassBuilder("ColorCellTestPane", "UIViewController"_cls)
            .method("navigationController", &navigationOf)
            .build();
    }

    PS::Specifier* row(std::initializer_list<std::pair<const char*, NS::Object*>> properties) {
        PS::Specifier* r = PS::Specifier::preferenceSpecifierNamed("Text"_ns, nil, PS::PSLinkCell);
        for (auto& [key, value] : properties) r->setProperty(value, NS::String::stringWithUTF8String(key));
        return r;
    }
    Ref<PS::TableCell> cell(PS::Specifier* r) {
        return objc::adopt(PS::TableCell::alloc()->initWithStyle(0, "c"_ns, r));
    }
    Ref<PS::TableCell> colorCell(PS::Specifier* r) {
        return objc::adopt(objc::send<PS::TableCell*>(objc::send<id>("PFColorCellHB"_cls, "alloc"_sel),
                                                      "initWithStyle:reuseIdentifier:specifier:"_sel,
                                                      static_cast<NSInteger>(0), "c"_ns, r));
    }
    void save(const char* key, const char* value) {
        NS::MutableDictionary* s = NS::MutableDictionary::dictionary();
        s->setObject(NS::String::stringWithUTF8String(value), NS::String::stringWithUTF8String(key));
        ASSERT_TRUE(NS::writePropertyList(s, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));
    }
};

TEST_F(ColorCellTest, SwatchShowsTheSavedColourItsAlphaOrTheFallback) {
    save("blueText", "#FF0000:0.250000");
    struct Case {
        const char* what;
        PS::Specifier* row;
        testcolors::RGBA color;
    };
    const Case cases[] = {
        {"saved with alpha", row({{"color_key", "blueText"_ns}, {"color_defaults", "com.Quillfen.huebloom"_ns}}),
         testcolors::hex(0xFF0000, 0.25)},
        {"absent: its fallback",
         row({{"color_key", "blueBar"_ns},
              {"color_defaults", "com.Quillfen.huebloom"_ns},
              {"color_fallback", "#5FC6F4"_ns}}),
         testcolors::hex(0x5FC6F4)},
        {"absent, no fallback", row({{"color_key", "blueBar"_ns}, {"color_defaults", "com.Quillfen.huebloom"_ns}}),
         testcolors::hex(0xA1A1A1)},
        {"no colour properties", row({}), testcolors::hex(0xA1A1A1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<UI::View> table = objc::adopt(UI::View::alloc()->initWithFrame(CGRectMake(0, 0, 320, 480)));
        Ref<PS::TableCell> cc = colorCell(c.row);
        table->addSubview(cc);
        UI::View* swatch = objc::send<UI::View*>(cc.get(), "accessoryView"_sel);
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->tag(), huebloom::kSwatchTag);
        EXPECT_EQ(swatch->frame().size.width, 51);
        EXPECT_EQ(swatch->frame().size.height, 29);
        EXPECT_DOUBLE_EQ(swatch->layer()->cornerRadius(), 14.5);
        EXPECT_DOUBLE_EQ(swatch->layer()->borderWidth(), 1.5);
        const CGFloat* border = CGColorGetComponents(swatch->layer()->borderColor());
        EXPECT_NEAR(border[0], 228 / 255.0, 1e-6);
        EXPECT_PRED3(testcolors::near, testcolors::componentsOf(swatch->backgroundColor()), c.color, 1e-6);
        // A tap on the row now opens the chooser through this cell.
        EXPECT_EQ(c.row->target(), objc::asId(cc.get()));
        EXPECT_EQ(c.row->buttonAction(), "openColorPicker"_sel);
        EXPECT_EQ(objc::cast<PS::TableCell>(cc.get())->cellAction(), "openColorPicker"_sel);
        // Asked for the default style (0), the cell is in the subtitle style.
        EXPECT_EQ(objc::cast<UI::TableViewCell>(cc.get())->style(), 3);
        cc->removeFromSuperview();
    }
}

TEST_F(ColorCellTest, EveryPlacementEndsMessagesOnce) {
    Ref<UI::View> table = objc::adopt(UI::View::alloc()->initWithFrame(CGRectMake(0, 0, 320, 480)));
    const std::size_t before = device::systemCommandCount();
    Ref<PS::TableCell> cells[] = {colorCell(row({})), colorCell(row({})), colorCell(row({}))};
    for (auto& c : cells) table->addSubview(c);
    EXPECT_EQ(device::systemCommandCount() - before, 3u);
    cells[0]->removeFromSuperview();  // taken out of the table: once more
    EXPECT_EQ(device::systemCommandCount() - before, 4u);
    // A plain cell of the framework kills nothing.
    Ref<PS::TableCell> plain = cell(row({}));
    table->addSubview(plain);
    EXPECT_EQ(device::systemCommandCount() - before, 4u);
}

TEST_F(ColorCellTest, TheChooserGetsTheRowsSettingsOnlyWithKeyAndDomain) {
    Ref<UI::ViewController> pane =
        objc::adopt(objc::send<UI::ViewController*>(objc::send<id>("ColorCellTestPane"_cls, "alloc"_sel), "init"_sel));
    auto open = [&](PS::Specifier* r) -> PFColorViewController* {
        Ref<PS::TableCell> c = colorCell(r);
        pane->view()->addSubview(c);
        const int before = Pushes::count;
        objc::send<void>(c.get(), "openColorPicker"_sel);
        EXPECT_EQ(Pushes::count, before + 1);
        c->removeFromSuperview();
        return objc::cast<PFColorViewController>(Pushes::last.get());
    };
    PFColorViewController* full = open(row({{"color_key", "grayOverlay"_ns},
                                            {"color_defaults", "com.Quillfen.huebloom"_ns},
                                            {"usesAlpha", NS::Number::numberWithBool(YES)}}));
    EXPECT_STREQ(full->key()->UTF8String(), "grayOverlay");
    EXPECT_STREQ(full->defaults()->UTF8String(), "com.Quillfen.huebloom");
    EXPECT_TRUE(full->usesAlpha());
    EXPECT_STREQ(full->fallback()->UTF8String(), "#a1a1a1");
    EXPECT_STREQ(objc::send<NS::String*>(full, "title"_sel)->UTF8String(), "Choose Color");
    EXPECT_EQ(full->postNotification(), nullptr);
    EXPECT_FALSE(full->usesRGB());

    // Every property present reaches the chooser as it is.
    PFColorViewController* given = open(row({{"color_key", "blueText"_ns},
                                             {"color_defaults", "com.Quillfen.huebloom"_ns},
                                             {"title", "Blue Text"_ns},
                                             {"color_fallback", "#5FC6F4"_ns},
                                             {"color_postNotification", "com.Quillfen.huebloom/settingschanged"_ns},
                                             {"usesRGB", NS::Number::numberWithBool(YES)}}));
    EXPECT_STREQ(objc::send<NS::String*>(given, "title"_sel)->UTF8String(), "Blue Text");
    EXPECT_STREQ(given->fallback()->UTF8String(), "#5FC6F4");
    EXPECT_STREQ(given->postNotification()->UTF8String(), "com.Quillfen.huebloom/settingschanged");
    EXPECT_TRUE(given->usesRGB());
    EXPECT_FALSE(given->usesAlpha());

    PFColorViewController* bare = open(row({{"color_key", "blueText"_ns}, {"title", "Blue"_ns}}));
    EXPECT_EQ(bare->key(), nullptr);
    EXPECT_EQ(bare->defaults(), nullptr);
    EXPECT_EQ(bare->fallback(), nullptr);
    EXPECT_EQ(objc::send<NS::String*>(bare, "title"_sel), nullptr);

    // A domain that could name a file outside the preferences folder counts
    // as none: the chooser edits nothing.
    for (const char* domain : {"../../../Library/MobileSubstrate/DynamicLibraries/Huebloom", "sub/x", "..", ""}) {
        SCOPED_TRACE(domain);
        PFColorViewController* escaping =
            open(row({{"color_key", "blueText"_ns}, {"color_defaults", NS::String::stringWithUTF8String(domain)}}));
        EXPECT_EQ(escaping->key(), nullptr);
        EXPECT_EQ(escaping->defaults(), nullptr);
    }
}

}  // namespace
