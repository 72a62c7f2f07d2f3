// Compositing costs: a whole screen whose views have not changed, and the
// one-pixel sample a colour picker takes of a view it has already drawn.
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIKit.h>
#include <UIKit/UIScreenshot.h>
#include <benchmark/benchmark.h>

namespace {

// A hue field, painted once: the kind of view that gets sampled.
void paintField(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    CGRect b = objc::cast<UI::View>(self)->bounds();
    for (int y = 0; y < b.size.height; y += 4) {
        for (int x = 0; x < b.size.width; x += 4) {
            CGContextSetRGBFillColor(c, x / b.size.width, y / b.size.height, 0.5, 1);
            CGContextFillRect(c, CGRectMake(x, y, 4, 4));
        }
    }
}

Class fieldClass() {
    static Class cls = objc::ClassBuilder("BenchFieldView", "UIView"_cls).method("drawRect:", &paintField).build();
    return cls;
}

UI::View* addView(UI::View* parent, Class cls, CGRect frame, UI::Color* color) {
    UI::View* v = objc::send<UI::View*>(objc::send<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
    v->setBackgroundColor(color);
    parent->addSubview(v);
    v->release();
    return v;
}

// A Messages-like screen: bars, a transcript of rounded balloons (some with
// borders and clipping), an entry field, and a painted field behind them.
UI::Window* makeScreen() {
    UI::Window* window = UI::Window::alloc()->init();
    window->setBackgroundColor(UI::Color::whiteColor());
    UI::View* content = addView(window, "UIView"_cls, CGRectMake(0, 0, 320, 568), UI::Color::whiteColor());
    addView(content, fieldClass(), CGRectMake(0, 64, 320, 240), nullptr);
    for (int i = 0; i < 14; ++i) {
        bool sent = i % 2 == 0;
        UI::View* balloon =
            addView(content, "UIView"_cls, CGRectMake(sent ? 110 : 10, 70 + 34 * i, 200, 30),
                    sent ? UI::Color::colorWithRed(0.08, 0.49, 0.98, 1) : UI::Color::colorWithRed(0.9, 0.9, 0.92, 1));
        balloon->layer()->setCornerRadius(15);
        if (i % 3 == 0) {
            balloon->layer()->setBorderWidth(2);
            balloon->layer()->setMasksToBounds(YES);
        }
        addView(balloon, "UIView"_cls, CGRectMake(14, 7, 120, 16), UI::Color::colorWithWhite(1, 0.3));
    }
    addView(window, "UIView"_cls, CGRectMake(0, 0, 320, 64), UI::Color::colorWithRed(0.97, 0.97, 0.97, 1));
    UI::View* entry = addView(window, "UIView"_cls, CGRectMake(0, 524, 320, 44), UI::Color::colorWithWhite(0.98, 1));
    UI::View* field = addView(entry, "UIView"_cls, CGRectMake(8, 7, 250, 30), UI::Color::whiteColor());
    field->layer()->setCornerRadius(6);
    field->layer()->setBorderWidth(1);
    window->makeKeyAndVisible();
    return window;
}

void BM_CompositeUnchangedScreen(benchmark::State& state) {
    objc::AutoreleasePool pool;
    NS::loop::useVirtualClock();
    UI::screen::setModel(UI::screen::Model::iPhone5);
    UI::Window* window = makeScreen();
    UI::updateDisplay();
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, 640, 1136, 8, 0, space,
                                           kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
    CGContextScaleCTM(c, 2, 2);
    for (auto _ : state) {
        window->layer()->renderInContext(c);
        benchmark::ClobberMemory();
    }
    CGContextRelease(c);
    CGColorSpaceRelease(space);
    window->setHidden(YES);
    window->release();
}
BENCHMARK(BM_CompositeUnchangedScreen)->Unit(benchmark::kMillisecond);

// The whole screenshot path as the app hosts take it: layout and display
// check, a fresh bitmap, compositing, the image.
void BM_ScreenImage(benchmark::State& state) {
    objc::AutoreleasePool pool;
    NS::loop::useVirtualClock();
    UI::Window* window = makeScreen();
    for (auto _ : state) {
        CGImageRef image = UI::screenshot::createScreenImage();
        CGImageRelease(image);
    }
    window->setHidden(YES);
    window->release();
}
BENCHMARK(BM_ScreenImage)->Unit(benchmark::kMillisecond);

void BM_SampleOnePixelOfADrawnView(benchmark::State& state) {
    objc::AutoreleasePool pool;
    UI::View* field = objc::send<UI::View*>(objc::send<id>(fieldClass(), "alloc"_sel), "initWithFrame:"_sel,
                                            CGRectMake(0, 0, 320, 240));
    field->layer()->displayIfNeeded();
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    int i = 0;
    for (auto _ : state) {
        unsigned char pixel[4] = {0, 0, 0, 0};
        CGContextRef c = CGBitmapContextCreate(pixel, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedLast);
        CGContextTranslateCTM(c, -CGFloat(i % 320), -CGFloat((i * 7) % 240));
        field->layer()->renderInContext(c);
        CGContextRelease(c);
        benchmark::DoNotOptimize(pixel[0]);
        ++i;
    }
    CGColorSpaceRelease(space);
    field->release();
}
BENCHMARK(BM_SampleOnePixelOfADrawnView)->Unit(benchmark::kMicrosecond);

}  // namespace
