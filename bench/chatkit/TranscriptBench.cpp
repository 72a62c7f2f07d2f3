// The transcript screen's cost: building it, laying it out and painting it
// after its colours change, and compositing an unchanged screen (what each
// screenshot of the Messages app pays).
#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <Foundation/NSArray.h>
#include <UIKit/UIKit.h>
#include <UIKit/UIScreenshot.h>
#include <benchmark/benchmark.h>

namespace {

struct Scene {
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
    Ref<UI::Window> window;
    Ref<CK::TranscriptController> controller;

    Scene() {
        UI::screen::setModel(UI::screen::Model::iPhone5);
        chatkit::registerClasses();
        window = objc::adopt(UI::Window::alloc()->init());
        controller = objc::adopt(CK::TranscriptController::alloc()->init());
        window->setRootViewController(controller.get());
        window->makeKeyAndVisible();
        UI::updateDisplay();
    }
    ~Scene() { window->setHidden(YES); }
};

void BM_BuildTranscript(benchmark::State& state) {
    Scene scene;
    const CGRect screen = UI::Screen::mainScreen()->bounds();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        Ref<CK::TranscriptView> view = objc::adopt(CK::TranscriptView::alloc()->initWithFrame(screen));
        view->layoutIfNeeded();
        benchmark::DoNotOptimize(view.get());
    }
}
BENCHMARK(BM_BuildTranscript)->Unit(benchmark::kMicrosecond);

void BM_RelayoutAndRepaintBalloons(benchmark::State& state) {
    Scene scene;
    NS::Array* balloons = objc::cast<CK::TranscriptView>(scene.controller->view())->balloons();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        for (NSUInteger i = 0; i < balloons->count(); ++i) {
            auto* b = objc::cast<CK::BalloonView>(balloons->objectAtIndex(i));
            b->setNeedsLayout();
            // New colours arrive at every layout; make sure every body repaints.
            objc::cast<UI::View>(b->gradientView())->setNeedsDisplay();
        }
        UI::updateDisplay();
    }
}
BENCHMARK(BM_RelayoutAndRepaintBalloons)->Unit(benchmark::kMicrosecond);

void BM_CompositeUnchangedScreen(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        CGImageRef image = UI::screenshot::createScreenImage();
        benchmark::DoNotOptimize(image);
        CGImageRelease(image);
    }
}
BENCHMARK(BM_CompositeUnchangedScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
