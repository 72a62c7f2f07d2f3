// The chooser's creation, its views and their layout, rotation and the
// orientation answers. Reading, editing and saving the colour are in
// PFColorViewControllerEditing.cpp.
#include "PFColorViewController.h"

#include "PFColorViewControllerInternal.h"

#include <Foundation/Foundation.h>

namespace colorpicker {
namespace {

// The content size every chooser of the process lays out in.
CGSize _size = CGSizeZero;

constexpr double kFadeDuration = 0.2;
constexpr UI::UIViewAnimationOptions kCrossDissolve = UI::UIViewAnimationOptionTransitionCrossDissolve;
constexpr CGFloat kStatusBarHeight = 20;
constexpr CGFloat kNavigationBarHeight = 44;

id initForContentSize(PFColorViewController* self, SEL _cmd, CGSize size) {
    // Some versions of the framework have no content-size initialiser.
    if (NS::Object::instancesRespondToSelector("PSViewController"_cls, _cmd)) {
        self = objc::sendSuper<PFColorViewController*>(self, "PFColorViewController"_cls, _cmd, size);
    } else {
        self = objc::sendSuper<PFColorViewController*>(self, "PFColorViewController"_cls, "init"_sel);
    }
    if (self == nullptr) return nil;
    _size = size;

    PFColorViewControllerFields& f = fieldsOf(self);
    // The panel is faded in once the controls exist. Asking for the view loads
    // it here, during creation.
    Ref<UIPushedView> pushed = objc::adopt(UIPushedView::alloc()->initWithFrame(
        CGRectMake(0, kPushedViewOffset, size.width, size.height - kPushedViewOffset)));
    pushed->setAlpha(0);
    f._pushedView = pushed;
    self->view()->addSubview(pushed);
    return objc::asId(self);
}

struct SliderRow {
    UI::Slider* PFColorViewControllerFields::*field;
    NSInteger tag;
    CGFloat centreY;
    unichar hsbLetter;
    unichar rgbLetter;
};

// From top to bottom; the alpha row exists only in the taller panel.
constexpr SliderRow kSliderRows[] = {
    {&PFColorViewControllerFields::hueSlider, kHueSliderTag, 30, 'H', 'R'},
    {&PFColorViewControllerFields::saturationSlider, kSaturationSliderTag, 70, 'S', 'G'},
    {&PFColorViewControllerFields::brightnessSlider, kBrightnessSliderTag, 110, 'B', 'B'},
    {&PFColorViewControllerFields::alphaSlider, kAlphaSliderTag, 150, 'A', 'A'},
};

UI::Color* sliderTint(std::size_t row, bool usesRGB) {
    if (row == 3) return UI::Color::grayColor();
    if (!usesRGB) return UI::Color::blackColor();
    switch (row) {
    case 0: return UI::Color::redColor();
    case 1: return UI::Color::greenColor();
    default: return UI::Color::blueColor();
    }
}

// Creates the view of a field, or gives the existing one its new frame.
template <class View>
View* placeView(View*& field, Class cls, CGRect frame) {
    if (field == nullptr) {
        // The parent added below keeps the view; the field only points at it.
        field = objc::cast<View>(
            objc::autorelease(objc::send<id>(objc::send<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame)));
    } else {
        field->setFrame(frame);
    }
    return field;
}

template <class View>
View* placeOwnedView(Ref<View>& field, Class cls, CGRect frame) {
    if (!field) {
        field = objc::adopt(
            objc::cast<View>(objc::send<id>(objc::send<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame)));
    } else {
        field->setFrame(frame);
    }
    return field.get();
}

void addIfOrphan(UI::View* parent, UI::View* child) {
    if (child->superview() == nullptr) parent->addSubview(child);
}

void loadCustomViews(PFColorViewController* self, SEL) {
    PFColorViewControllerFields& f = fieldsOf(self);
    UIPushedView* pushed = f._pushedView;

    // The pushed view keeps its top at the offset and, inside the
    // controller's view, its height at that view's height less the offset.
    pushed->setFrame(CGRectMake(0, kPushedViewOffset, _size.width, _size.height - kPushedViewOffset));
    const CGRect panel = pushed->frame();
    const CGFloat W = panel.size.width;
    const CGFloat H = panel.size.height;

    f.currentAlpha = 1;

    // The checkerboard takes the pushed view's frame rectangle as its own
    // frame inside it, so its pattern starts 64 points down; the picker covers
    // the part above.
    PFColorTransparentView* transparent = placeOwnedView(f.transparent, "PFColorTransparentView"_cls, panel);
    if (!f._usesAlpha) transparent->setHidden(YES);

    // The shorter screen keeps more room for the sliders.
    CGFloat pickerHeight = H * 0.5;
    if (UI::Screen::mainScreen()->bounds().size.height == 480) pickerHeight -= 40;
    const CGRect pickerFrame = CGRectMake(0, 0, W, pickerHeight);
    if (f.colorPicker) {
        f.colorPicker->setFrame(pickerFrame);
    } else {
        Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(pickerFrame));
        self->setColorPicker(picker);
        // The new picker paints its field on first display; keep it for the
        // next chooser of this size, so that it need not paint again. A
        // chooser that never rotates would otherwise never save it.
        picker->performSelector("saveCache"_sel, nullptr, kCacheSaveDelay);
    }
    PFColorPicker* picker = f.colorPicker.get();
    picker->makeReadyForDisplay();
    picker->setDelegate(self);

    const CGFloat panelHeight = f._usesAlpha ? 180 : 140;
    UI::View* container = placeView(f.controlsContainer, "UIView"_cls,
                                    CGRectMake(0, H - panelHeight, picker->frame().size.width, panelHeight));
    const CGSize containerSize = container->frame().size;

    const CGRect sliderFrame = CGRectMake(containerSize.width * 0.5, 0, containerSize.width - 40, 20);
    const CGFloat sliderCentreX = containerSize.width * 0.5;

    // The system's blurred backdrop where the platform has it, else a plain
    // translucent white panel.
    Class backdropClass = NSClassFromString("_UIBackdropView");
    if (backdropClass == Nil) backdropClass = "UIView"_cls;
    UI::View* backdrop =
        placeView(f.backdrop, backdropClass, CGRectMake(0, 0, containerSize.width, containerSize.height));

    // A new button on every pass, replacing the previous one.
    f.hexButton = objc::adopt(
        UI::BarButtonItem::alloc()->initWithTitle("#"_ns, UI::UIBarButtonItemStylePlain, self, "chooseHexColor"_sel));
    self->navigationItem()->setRightBarButtonItem(f.hexButton);

    if (backdropClass == "UIView"_cls) backdrop->setBackgroundColor(UI::Color::colorWithWhite(1.0, 0.5));

    for (const SliderRow& row : kSliderRows) {
        UI::Slider*& slider = f.*row.field;
        const bool created = slider == nullptr;
        placeView(slider, "UISlider"_cls, sliderFrame);
        // Registered once: a second registration of the same pair would send
        // every change twice on a platform that does not merge them.
        if (created) slider->addTarget(self, "hueSliderChanged"_sel, UI::UIControlEventValueChanged);
        slider->setTag(row.tag);
        slider->setCenter(CGPointMake(sliderCentreX, row.centreY));
        slider->setMinimumValue(0);
        slider->setMaximumValue(1);
        if (row.field != &PFColorViewControllerFields::alphaSlider) slider->setContinuous(YES);
    }
    if (!f._usesAlpha) f.alphaSlider->setHidden(YES);

    // Reading may set currentAlpha and the alpha slider; applying then sets
    // the other sliders, the background colours and saves.
    UI::Color* stored = self->colorFromDefaults(f.defaults, f.key);
    f.alphaSlider->setValue(static_cast<float>(f.currentAlpha));
    showStoredColor(self, f, stored);
    f.alphaSlider->setContinuous(YES);

    const bool tintable = objc::respondsTo(f.hueSlider, "setTintColor:"_sel);
    for (std::size_t i = 0; i < std::size(kSliderRows); ++i) {
        UI::Slider* slider = f.*kSliderRows[i].field;
        UI::Color* tint = sliderTint(i, f._usesRGB);
        if (tintable) {
            slider->setTintColor(tint);
        } else {
            slider->setMinimumTrackTintColor(tint);
        }
        const unichar letter = f._usesRGB ? kSliderRows[i].rgbLetter : kSliderRows[i].hsbLetter;
        UI::Image* thumb = PFColorViewController::thumbImageWithColor(UI::Color::whiteColor(), letter);
        slider->setThumbImage(thumb, UI::UIControlStateNormal);
        if (slider == f.alphaSlider) slider->setThumbImage(thumb, UI::UIControlStateHighlighted);
    }

    // The picker lies above the checkerboard, the panel above both, the
    // sliders above the backdrop.
    addIfOrphan(pushed, transparent);
    addIfOrphan(pushed, picker);
    addIfOrphan(pushed, container);
    addIfOrphan(container, backdrop);
    for (const SliderRow& row : kSliderRows) addIfOrphan(container, f.*row.field);

    UI::View::animateWithDuration(
        kFadeDuration, 0, kCrossDissolve, [pushed] { pushed->setAlpha(1); }, [](BOOL) {});
}

void viewDidLoad(id self, SEL _cmd) { objc::sendSuper<void>(self, "PFColorViewController"_cls, _cmd); }
void didReceiveMemoryWarning(id self, SEL _cmd) { objc::sendSuper<void>(self, "PFColorViewController"_cls, _cmd); }

// The same content size for every orientation: the view's size less the
// status and navigation bars. The layout animation keeps its own duration.
void willAnimateRotation(PFColorViewController* self, SEL, NSInteger, double) {
    PFColorViewControllerFields& f = fieldsOf(self);
    if (f.colorPicker) f.colorPicker->saveCache();
    const CGRect frame = self->view()->frame();
    _size = CGSizeMake(frame.size.width, frame.size.height - kStatusBarHeight - kNavigationBarHeight);
    Ref<PFColorViewController> controller = self;
    UI::View::animateWithDuration(
        kFadeDuration, 0, kCrossDissolve, [controller] { controller->loadCustomViews(); }, [](BOOL) {});
}

NSInteger preferredInterfaceOrientationForPresentation(id, SEL) { return UI::UIInterfaceOrientationPortrait; }
// Portrait only, on phones and tablets alike.
NSUInteger supportedInterfaceOrientations(id, SEL) { return UI::UIInterfaceOrientationMaskPortrait; }

// Accessors: object setters keep the new value and let go of the old one.
PFColorPicker* colorPicker(PFColorViewController* self, SEL) { return fieldsOf(self).colorPicker.get(); }
void setColorPicker(PFColorViewController* self, SEL, PFColorPicker* v) { fieldsOf(self).colorPicker = v; }
NS::String* key(PFColorViewController* self, SEL) { return fieldsOf(self).key.get(); }
void setKey(PFColorViewController* self, SEL, NS::String* v) { fieldsOf(self).key = v; }
NS::String* defaults(PFColorViewController* self, SEL) { return fieldsOf(self).defaults.get(); }
void setDefaults(PFColorViewController* self, SEL, NS::String* v) { fieldsOf(self).defaults = v; }
NS::String* postNotification(PFColorViewController* self, SEL) { return fieldsOf(self).postNotification.get(); }
void setPostNotification(PFColorViewController* self, SEL, NS::String* v) { fieldsOf(self).postNotification = v; }
NS::String* fallback(PFColorViewController* self, SEL) { return fieldsOf(self).fallback.get(); }
void setFallback(PFColorViewController* self, SEL, NS::String* v) { fieldsOf(self).fallback = v; }
BOOL usesRGB(PFColorViewController* self, SEL) { return fieldsOf(self)._usesRGB; }
void setUsesRGB(PFColorViewController* self, SEL, BOOL v) { fieldsOf(self)._usesRGB = v; }
BOOL usesAlpha(PFColorViewController* self, SEL) { return fieldsOf(self)._usesAlpha; }
void setUsesAlpha(PFColorViewController* self, SEL, BOOL v) { fieldsOf(self)._usesAlpha = v; }

}  // namespace

PFColorViewControllerFields& fieldsOf(objc::AnyObject self) { return objc::state<PFColorViewControllerFields>(self); }

CGSize chooserContentSize() { return _size; }

void registerColorViewController() {
    objc::ClassBuilder builder("PFColorViewController", "PSViewController"_cls);
    builder.state<PFColorViewControllerFields>()
        .method("initForContentSize:", &initForContentSize)
        .method("loadCustomViews", &loadCustomViews)
        .method("viewDidLoad", &viewDidLoad)
        .method("willAnimateRotationToInterfaceOrientation:duration:", &willAnimateRotation)
        .method("preferredInterfaceOrientationForPresentation", &preferredInterfaceOrientationForPresentation)
        .method("supportedInterfaceOrientations", &supportedInterfaceOrientations)
        .method("didReceiveMemoryWarning", &didReceiveMemoryWarning)
        .method("colorPicker", &colorPicker)
        .method("setColorPicker:", &setColorPicker)
        .method("key", &key)
        .method("setKey:", &setKey)
        .method("defaults", &defaults)
        .method("setDefaults:", &setDefaults)
        .method("postNotification", &postNotification)
        .method("setPostNotification:", &setPostNotification)
        .method("fallback", &fallback)
        .method("setFallback:", &setFallback)
        .method("usesRGB", &usesRGB)
        .method("setUsesRGB:", &setUsesRGB)
        .method("usesAlpha", &usesAlpha)
        .method("setUsesAlpha:", &setUsesAlpha);
    addEditingMethods(builder);
    builder.build();
}

}  // namespace colorpicker
