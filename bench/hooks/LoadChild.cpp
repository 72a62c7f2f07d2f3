// One load of the hook library, in a process of its own started for it, set
// up the way the Messages app sets itself up before its loader runs: the
// device, the main screen and ChatKit's classes registered, with nothing of
// ChatKit asked anything yet. bench_hooks starts it once per iteration of its
// load benchmarks (a library loads only once per process).
//
//     hb_hook_load_child DEVICE library|loader
//
// "library" times the dlopen of the installed library, "loader" the hooking
// platform's whole pass (filter plist included). Either way the child then
// checks that the hooks are in place and `pref` read, and prints the seconds
// the load took and the processor seconds it used (on a busy machine the
// load also waits for a processor); when the load failed or left the hooks or
// settings missing it prints why on standard error and exits with 1.
//
// A process started anew is what the app is: the pages it touched while it
// started (the code of the runtime and of the C library, the symbol tables
// of every library it links) are mapped in it when the load begins, and the
// pages it writes are its own. A fork of the benchmark is not: the kernel
// gives the child none of the parent's page table entries for read-only
// pages of files, so each such page the load reads faults again, and each
// page it writes is copied first. Measured here, the load in a fork took
// some 120 page faults where a started process takes some 25, and three
// times as long; a library with nothing in it already took 50 of them.
#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Substrate/Loader.h>
#include <UIKit/UIKit.h>

#include <dlfcn.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kLibrary = "/Library/MobileSubstrate/DynamicLibraries/Huebloom.dylib";

double processorSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

int fail(const char* why) {
    std::fprintf(stderr, "hb_hook_load_child: %s\n", why);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return fail("usage: hb_hook_load_child DEVICE library|loader");
    const std::string mode = argv[2];
    if (mode != "library" && mode != "loader") return fail("the load is either library or loader");
    const bool wholePass = mode == "loader";
    device::setRoot(argv[1]);
    std::optional<std::string> path = device::hostPath(kLibrary);
    if (!path) return fail("no device");

    objc::AutoreleasePool pool;
    UI::screen::setModel(UI::screen::Model::iPhone5);
    chatkit::registerClasses();
    // The system's getter, read from the class's method list: asking the
    // class for its implementation would give it a dispatch table, which no
    // ChatKit class of the app has when its libraries load.
    Class behavior = objc_getClass("CKUIBehavior");
    SEL getter = sel_registerName("blue_balloonTextColor");
    Method method = class_getInstanceMethod(behavior, getter);
    if (method == nullptr) return fail("CKUIBehavior has no blue_balloonTextColor");
    IMP systemGetter = method_getImplementation(method);

    using Clock = std::chrono::steady_clock;
    bool loaded = false;
    const double processorStart = processorSeconds();
    Clock::time_point start = Clock::now();
    if (wholePass) {
        std::vector<std::string> names = substrate::loadLibraries("com.apple.MobileSMS", "MobileSMS");
        loaded = names.size() == 1 && names[0] == "Huebloom.dylib";
    } else {
        loaded = ::dlopen(path->c_str(), RTLD_NOW | RTLD_GLOBAL) != nullptr;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double processor = processorSeconds() - processorStart;
    if (!loaded) return fail("the library was not loaded");

    void* library = ::dlopen(path->c_str(), RTLD_NOW | RTLD_NOLOAD);
    auto** pref = library == nullptr ? nullptr : static_cast<NS::Dictionary**>(::dlsym(library, "pref"));
    if (class_getMethodImplementation(behavior, getter) == systemGetter) return fail("the getter is not hooked");
    if (pref == nullptr || *pref == nullptr || (*pref)->objectForKey("blueText"_ns) == nullptr) {
        return fail("pref was not read");
    }
    std::printf("%.9f %.9f\n", seconds, processor);
    return 0;
}
