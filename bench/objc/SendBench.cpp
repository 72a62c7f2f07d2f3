// The bridge's typed send with a cached selector against a C++ virtual call
// doing the same work (add an argument to a field of the receiver). Every
// send asks the runtime for the implementation.
#include <Foundation/NSObject.h>
#include <benchmark/benchmark.h>

namespace {

struct CounterState {
    long total = 0;
};

long addTo(id self, SEL, long amount) { return objc::state<CounterState>(self).total += amount; }

Class counterClass() {
    static Class cls =
        objc::ClassBuilder("BenchCounter", "NSObject"_cls).state<CounterState>().method("add:", &addTo).build();
    return cls;
}

struct VirtualCounter {
    virtual ~VirtualCounter() = default;
    virtual long add(long amount) = 0;
};

// Two implementations, one chosen at run time, and neither inlined: the
// call stays a real indirect call through the vtable, as the send is a real
// indirect call through the looked-up implementation.
struct ConcreteCounter : VirtualCounter {
    long total = 0;
    __attribute__((noinline)) long add(long amount) override { return total += amount; }
};
struct OtherCounter : VirtualCounter {
    long total = 0;
    __attribute__((noinline)) long add(long amount) override { return total -= amount; }
};

__attribute__((noinline)) VirtualCounter* makeVirtualCounter(bool other) {
    if (other) return new OtherCounter;
    return new ConcreteCounter;
}

void BM_TypedSend(benchmark::State& state) {
    objc::AutoreleasePool pool;
    id counter = objc::send<id>(objc::send<id>(counterClass(), "alloc"_sel), "init"_sel);
    long amount = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(objc::send<long>(counter, "add:"_sel, amount));
    }
    objc::release(counter);
}
BENCHMARK(BM_TypedSend);

void BM_VirtualCall(benchmark::State& state) {
    VirtualCounter* counter = makeVirtualCounter(state.range(0) != 0);
    long amount = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter);
        benchmark::DoNotOptimize(counter->add(amount));
    }
    delete counter;
}
BENCHMARK(BM_VirtualCall)->Arg(0);

// The send to nil: no lookup at all.
void BM_SendToNil(benchmark::State& state) {
    id counter = nil;
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter);
        benchmark::DoNotOptimize(objc::send<long>(counter, "add:"_sel, 1L));
    }
}
BENCHMARK(BM_SendToNil);

}  // namespace
