// The colour chooser's costs on an iPhone 5 screen: its first appearance
// (push, delayed layout, fade-in) with and without a picker cache file, one
// drag movement on the picker (sample, apply, save), and the picker's parts.
#include "ColorPickerKit.h"
#include "PFColorPicker.h"
#include "PFColorViewControllerFields.h"

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIKit.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIWindow.h>

#include <filesystem>

#include <benchmark/benchmark.h>

namespace {

// The iPhone 5 chooser's picker: half of the 504-point content height.
constexpr CGRect kPickerFrame{{0, 0}, {320, 252}};

struct Environment {
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
    Environment() {
        colorpicker::registerClasses();
        NS::loop::useVirtualClock();
    }
};

void BM_PaintFieldFromScratch(benchmark::State& state) {
    Environment env;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(kPickerFrame));
        picker->layer()->displayIfNeeded();
        benchmark::DoNotOptimize(picker->shouldSaveNewCache());
    }
}
BENCHMARK(BM_PaintFieldFromScratch)->Unit(benchmark::kMillisecond);

void BM_DrawFieldFromCacheFile(benchmark::State& state) {
    Environment env;
    {
        Ref<PFColorPicker> first = objc::adopt(PFColorPicker::alloc()->initWithFrame(kPickerFrame));
        first->layer()->displayIfNeeded();
        first->saveCache();
    }
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(kPickerFrame));
        picker->layer()->displayIfNeeded();
        if (picker->shouldSaveNewCache()) state.SkipWithError("the cache file was not used");
    }
}
BENCHMARK(BM_DrawFieldFromCacheFile)->Unit(benchmark::kMillisecond);

void BM_SampleOnePoint(benchmark::State& state) {
    Environment env;
    Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(kPickerFrame));
    picker->layer()->displayIfNeeded();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(picker->colorAtPoint(CGPointMake(240, 120)));
    }
}
BENCHMARK(BM_SampleOnePoint)->Unit(benchmark::kMicrosecond);

// A Settings-like screen: a window, a navigation controller and its root
// pane, with one colour setting stored.
struct Screen : Environment {
    Ref<UI::Window> window;
    Ref<UI::ViewController> pane;
    Ref<UI::NavigationController> navigation;

    Screen() {
        UI::screen::setModel(UI::screen::Model::iPhone5);
        window = objc::adopt(UI::Window::alloc()->init());
        pane = objc::adopt(UI::ViewController::alloc()->init());
        navigation = objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(pane));
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
        settings->setObject("#FF8000"_ns, "blueText"_ns);
        settings->writeToFile("/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"_ns, YES);
        UI::updateDisplay();
    }
    ~Screen() { window->setHidden(YES); }

    PFColorViewController* push() {
        Ref<PFColorViewController> chooser =
            objc::adopt(PFColorViewController::alloc()->initForContentSize(pane->view()->frame().size));
        chooser->setKey("blueText"_ns);
        chooser->setDefaults("com.Quillfen.huebloom"_ns);
        chooser->setFallback("#a1a1a1"_ns);
        chooser->setPostNotification("com.Quillfen.huebloom/settingschanged"_ns);
        chooser->view()->setFrame(pane->view()->frame());
        navigation->pushViewController(chooser, YES);
        return chooser;
    }

    // The push slides for 0.35 s, the layout follows 0.1 s after, the fade
    // takes 0.2 s; each turn of the app's loop lays out and paints.
    static void runThroughAppearance() {
        for (double step : {0.36, 0.11, 0.21}) {
            NS::loop::runFor(step);
            UI::updateDisplay();
        }
    }

    void pop() {
        navigation->popViewControllerAnimated(NO);
        NS::loop::runFor(1.0);
        UI::updateDisplay();
    }
};

void firstAppearance(benchmark::State& state, bool withCacheFile) {
    Screen screen;
    const std::string cache = screen.device / "/tmp/_PFColorPickerImage_320x252.png";
    if (withCacheFile) {
        screen.push();
        Screen::runThroughAppearance();
        screen.pop();  // the chooser's picker saves its cache on the way
        Ref<PFColorPicker> picker = objc::adopt(PFColorPicker::alloc()->initWithFrame(kPickerFrame));
        picker->layer()->displayIfNeeded();
        picker->saveCache();
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (!withCacheFile) std::filesystem::remove(cache);
        state.ResumeTiming();
        {
            objc::AutoreleasePool pool;
            PFColorViewController* chooser = screen.push();
            Screen::runThroughAppearance();
            if (colorpicker::fieldsOf(chooser)._pushedView->alpha() != 1)
                state.SkipWithError("the chooser did not fade in");
            if (chooser->colorPicker()->shouldSaveNewCache() == withCacheFile) {
                state.SkipWithError("the picker cache file was not used as expected");
            }
        }
        state.PauseTiming();
        screen.pop();
        state.ResumeTiming();
    }
}

void BM_ChooserFirstAppearanceWithoutCacheFile(benchmark::State& state) { firstAppearance(state, false); }
BENCHMARK(BM_ChooserFirstAppearanceWithoutCacheFile)->Unit(benchmark::kMillisecond);

void BM_ChooserFirstAppearanceWithCacheFile(benchmark::State& state) { firstAppearance(state, true); }
BENCHMARK(BM_ChooserFirstAppearanceWithCacheFile)->Unit(benchmark::kMillisecond);

// One movement of a drag on the picker: the pan recogniser's action samples
// the field, the chooser shows the colour and saves it into the settings file
// and the preferences domain.
void BM_DragMovementOnThePicker(benchmark::State& state) {
    Screen screen;
    PFColorViewController* chooser = screen.push();
    Screen::runThroughAppearance();
    PFColorPicker* picker = chooser->colorPicker();
    auto onScreen = [picker](CGFloat x, CGFloat y) { return picker->convertPointToView(CGPointMake(x, y), nullptr); };
    UI::input::Finger finger(onScreen(40, 40));
    finger.moveTo(onScreen(80, 80));  // the pan has begun
    int step = 0;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        ++step;
        finger.moveTo(onScreen(80 + (step % 100), 80 + (step % 50)));
    }
    finger.lift();
}
BENCHMARK(BM_DragMovementOnThePicker)->Unit(benchmark::kMicrosecond);

}  // namespace
