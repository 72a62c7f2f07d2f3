// What the runtime services cost per use: a call that falls back through the
// forwarder of an inherited-method hook (against a plain send), timers on the
// run loop, and a Darwin notification from post to delivery in one process.
#include <CoreFoundation/CoreFoundation.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <benchmark/benchmark.h>
#include <substrate.h>

namespace {

IMP saved = nullptr;
long baseValue(id, SEL, long x) { return x + 1; }
long hookValue(id self, SEL s, long x) { return objc::callImp<long>(saved, self, s, x); }

struct Hooked {
    Class base, sub;
    id instance;
};

Hooked& hooked() {
    static Hooked h = [] {
        Hooked r;
        r.base = objc::ClassBuilder("BenchBase", "NSObject"_cls).method("value:", &baseValue).build();
        r.sub = objc::ClassBuilder("BenchSub", r.base).build();
        r.instance = objc::send<id>(r.sub, "new"_sel);
        return r;
    }();
    return h;
}

void BM_PlainSend(benchmark::State& state) {
    id object = hooked().instance;
    long x = 0;
    for (auto _ : state) benchmark::DoNotOptimize(x = objc::send<long>(object, "value:"_sel, x));
}
BENCHMARK(BM_PlainSend);

void BM_SendThroughInheritedHookFallback(benchmark::State& state) {
    Hooked& h = hooked();
    if (saved == nullptr) MSHookMessageEx(h.sub, "value:"_sel, objc::detail::toImp(&hookValue), &saved);
    long x = 0;
    for (auto _ : state) benchmark::DoNotOptimize(x = objc::send<long>(h.instance, "value:"_sel, x));
}
BENCHMARK(BM_SendThroughInheritedHookFallback);

void BM_ScheduleAndRunTimers(benchmark::State& state) {
    objc::AutoreleasePool pool;
    NS::loop::useVirtualClock();
    const int n = static_cast<int>(state.range(0));
    long ran = 0;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) NS::loop::schedule(0.001 * (i % 97), [&ran] { ++ran; });
        NS::loop::runFor(0.1);
    }
    benchmark::DoNotOptimize(ran);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ScheduleAndRunTimers)->Arg(10)->Arg(1000);

int delivered = 0;
void onNotification(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++delivered; }

void BM_DarwinNotificationPostToDelivery(benchmark::State& state) {
    objc::AutoreleasePool pool;
    device::TemporaryDevice dev;
    NS::loop::useVirtualClock();
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, &delivered, &onNotification, CFSTR("bench.name"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    for (auto _ : state) {
        int before = delivered;
        CFNotificationCenterPostNotification(center, CFSTR("bench.name"), nullptr, nullptr, true);
        NS::loop::runUntil([&] { return delivered > before; }, 5.0);
    }
    CFNotificationCenterRemoveEveryObserver(center, &delivered);
}
BENCHMARK(BM_DarwinNotificationPostToDelivery);

}  // namespace
