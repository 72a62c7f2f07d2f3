#include "PFColorCellHB.h"

#include "ColorLookups.h"

#include <PFColorViewController.h>
#include <SettingsDomain.h>

#include <ObjCBridge/ObjCBridge.h>
#include <UIKit/UIKit.h>

#include <cstdlib>

namespace huebloom {
namespace {

// The subtitle style, whatever the framework asked for.
constexpr NSInteger kSubtitleStyle = 3;

PS::Specifier* rowOf(id self) { return objc::cast<PS::Specifier>(PS::TableCell::specifierIvar(self)); }

id property(id self, const NS::String* key) {
    PS::Specifier* row = rowOf(self);
    return row != nullptr ? row->propertyForKey(key) : nil;
}

NS::String* stringProperty(id self, const NS::String* key) {
    id value = property(self, key);
    return value != nil && objc::cast<NS::Object>(value)->isKindOfClass("NSString"_cls) ? objc::cast<NS::String>(value)
                                                                                        : nullptr;
}

// Only numbers and text have a Boolean reading; anything else a list may hold
// under the key (an array, a dictionary, a date) reads as NO.
BOOL boolProperty(id self, const NS::String* key) {
    id value = property(self, key);
    if (value == nil) return NO;
    auto* object = objc::cast<NS::Object>(value);
    if (object->isKindOfClass("NSNumber"_cls)) return objc::cast<NS::Number>(value)->boolValue();
    if (object->isKindOfClass("NSString"_cls)) return objc::cast<NS::String>(value)->boolValue();
    return NO;
}

id initWithStyleReuseIdentifierSpecifier(id self, SEL _cmd, NSInteger, NS::String* reuse, PS::Specifier* row) {
    return objc::sendSuper<id>(self, "PFColorCellHB"_cls, _cmd, kSubtitleStyle, reuse, row);
}

SEL openAction(id, SEL) { return "openColorPicker"_sel; }
id itself(id self, SEL) { return self; }

void openColorPicker(id self, SEL) {
    auto* pane = objc::cast<UI::ViewController>(objc::cast<UI::View>(self)->_viewControllerForAncestor());
    UI::View* paneView = pane != nullptr ? pane->view() : nullptr;
    const CGRect frame = paneView != nullptr ? paneView->frame() : CGRect{};

    PFColorViewController* chooser = PFColorViewController::alloc();
    chooser = objc::respondsTo(chooser, "initForContentSize:"_sel) ? chooser->initForContentSize(frame.size)
                                                                   : objc::cast<PFColorViewController>(chooser->init());
    if (chooser == nullptr) return;
    NS::String* key = stringProperty(self, "color_key"_ns);
    NS::String* domain = stringProperty(self, "color_defaults"_ns);
    // A domain that could name a file outside the preferences folder counts
    // as none.
    if (!colorpicker::isUsableSettingsDomain(domain)) domain = nullptr;
    // A row without both names edits nothing, so the chooser is left as it
    // was made.
    if (key != nullptr && domain != nullptr) {
        chooser->setKey(key);
        chooser->setDefaults(domain);
        chooser->setUsesAlpha(boolProperty(self, "usesAlpha"_ns));
        chooser->setUsesRGB(boolProperty(self, "usesRGB"_ns));
        NS::String* title = stringProperty(self, "title"_ns);
        chooser->setTitle(title != nullptr ? title : "Choose Color"_ns);
        NS::String* fallback = stringProperty(self, "color_fallback"_ns);
        chooser->setFallback(fallback != nullptr ? fallback : "#a1a1a1"_ns);
        chooser->setPostNotification(stringProperty(self, "color_postNotification"_ns));
    }
    chooser->view()->setFrame(frame);
    UI::NavigationController* navigation =
        pane != nullptr && objc::respondsTo(pane, "navigationController"_sel) ? pane->navigationController() : nullptr;
    if (navigation != nullptr) navigation->pushViewController(chooser, YES);
    objc::release(chooser);
}

void didMoveToSuperview(id self, SEL _cmd) {
    objc::sendSuper<void>(self, "PFColorCellHB"_cls, _cmd);

    UI::View* swatch = UI::View::alloc()->initWithFrame(CGRectMake(0, 0, 51, 29));
    swatch->setTag(kSwatchTag);
    CA::Layer* layer = swatch->layer();
    layer->setCornerRadius(swatch->frame().size.height / 2);
    layer->setBorderWidth(1.5);
    layer->setBorderColor(UI::Color::colorWithRed(228 / 255.0, 228 / 255.0, 228 / 255.0, 1)->CGColor());
    NS::String* fallback = stringProperty(self, "color_fallback"_ns);
    swatch->setBackgroundColor(colorFromDefaultsWithKey(stringProperty(self, "color_defaults"_ns),
                                                        stringProperty(self, "color_key"_ns),
                                                        fallback != nullptr ? fallback : "#a1a1a1"_ns));
    objc::cast<UI::TableViewCell>(self)->setAccessoryView(swatch);
    objc::release(swatch);

    if (PS::Specifier* row = rowOf(self)) {
        row->setTarget(self);
        row->setButtonAction("openColorPicker"_sel);
    }
    // Messages reads its settings only when it starts: end it, so the next
    // launch shows the colours as saved now. The result does not matter.
    (void)std::system("killall -9 MobileSMS");
}

void dealloc(id self, SEL _cmd) { objc::sendSuper<void>(self, "PFColorCellHB"_cls, _cmd); }

}  // namespace

void registerColorCell() {
    static const bool registered = [] {
        objc::ClassBuilder("PFColorCellHB", objc::cls("PSTableCell"))
            .method("initWithStyle:reuseIdentifier:specifier:", &initWithStyleReuseIdentifierSpecifier)
            .method("action", &openAction)
            .method("target", &itself)
            .method("cellAction", &openAction)
            .method("cellTarget", &itself)
            .method("openColorPicker", &openColorPicker)
            .method("didMoveToSuperview", &didMoveToSuperview)
            .method("dealloc", &dealloc)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace huebloom
