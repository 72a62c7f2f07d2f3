// The hook library in a process set up the way the Messages app sets itself
// up: a device with the library installed by hbsim and a settings file,
// ChatKit's classes registered, then the hooking platform's loader.
//
// - BM_LoadHookLibrary / BM_LoadLibraries: from the start of the load to the
//   hooks installed and `pref` read, in a process started anew for each load
//   (a library loads only once per process): hb_hook_load_child, which sets
//   itself up as the app does, times the dlopen of the installed library, or
//   the loader's whole pass (filter plist included), checks the result and
//   prints the time. LoadChild.cpp says why a fork of this process would not
//   do.
// - BM_SystemColorGetter / BM_HookedColorGetter: blue_balloonTextColor with
//   the master switch on and "blueText" set, against the system's own getter
//   (its implementation, taken before the library loaded, on a second class),
//   both through the same typed send, each call's colour released as the
//   app's run loop would release it. They load the library into this process.
#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Substrate/Loader.h>
#include <UIKit/UIKit.h>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";

// Runs a program to its end; with `output` its standard output is kept
// there, otherwise dropped (what hbsim reports would only get in the way of
// the figures).
bool run(std::vector<std::string> words, std::string* output = nullptr) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int fds[2] = {-1, -1};
    if (output != nullptr && ::pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (output != nullptr) {
        ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addclose(&actions, fds[0]);
        ::posix_spawn_file_actions_addclose(&actions, fds[1]);
    } else {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr) {
        ::close(fds[1]);
        char buffer[256];
        ssize_t n = 0;
        while (spawned == 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0) output->append(buffer, std::size_t(n));
        ::close(fds[0]);
    }
    if (spawned != 0) return false;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runHbsim(const std::string& devicePath, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{std::string(HB_BINARY_DIR) + "/bin/hbsim", "--device", devicePath};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return run(words);
}

// The device, the system getter and the state of the process, made once.
struct Process {
    std::string error;  // why the benchmarks cannot run, if they cannot
    fs::path folder;
    std::string devicePath;
    Class behavior = Nil;
    Class systemBehavior = Nil;  // the system's getter on a class of its own
    IMP systemGetter = nullptr;
    bool libraryLoaded = false;

    Process() {
        objc::AutoreleasePool pool;
        char pattern[] = "/tmp/hb-bench-hooks-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            error = "no temporary folder";
            return;
        }
        folder = pattern;
        devicePath = (folder / "device").string();
        if (!runHbsim(devicePath, {"device", "create"}) || !runHbsim(devicePath, {"install"})) {
            error = "hbsim could not make the device or install the hook library (is it built?)";
            return;
        }
        device::setRoot(devicePath);

        NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
        settings->setObject(NS::Number::numberWithBool(YES), "enabled"_ns);
        settings->setObject("#FF8000"_ns, "blueText"_ns);
        if (!settings->writeToFile(NS::String::stringWithUTF8String(kSettings), YES)) {
            error = "the settings file could not be written";
            return;
        }

        UI::screen::setModel(UI::screen::Model::iPhone5);
        chatkit::registerClasses();
        behavior = objc_getClass("CKUIBehavior");
        SEL getter = sel_registerName("blue_balloonTextColor");
        systemGetter = class_getMethodImplementation(behavior, getter);
        systemBehavior = objc_allocateClassPair(objc_getClass("NSObject"), "BenchSystemBehavior", 0);
        class_addMethod(systemBehavior, getter, systemGetter, "@@:");
        objc_registerClassPair(systemBehavior);
    }

    // Loads the library into this process, as the app does.
    bool loadHere() {
        if (libraryLoaded) return true;
        objc::AutoreleasePool pool;
        std::vector<std::string> loaded = substrate::loadLibraries("com.apple.MobileSMS", "MobileSMS");
        libraryLoaded = loaded.size() == 1 && loaded[0] == "Huebloom.dylib";
        if (!libraryLoaded) error = "substrate did not load Huebloom.dylib";
        return libraryLoaded;
    }
};

Process& process() {
    // Kept for the life of the process (the library stays loaded from its
    // device once the getter benchmarks have loaded it); only the device
    // folder is removed, at exit.
    static Process* p = [] {
        auto* made = new Process;
        std::atexit([] {
            std::error_code ec;
            if (!process().folder.empty()) fs::remove_all(process().folder, ec);
        });
        return made;
    }();
    return *p;
}

bool ready(benchmark::State& state) {
    if (!process().error.empty()) {
        state.SkipWithError(process().error.c_str());
        return false;
    }
    return true;
}

// One load in a process of its own: the seconds it took and the processor
// seconds it used, or nothing when the load failed or left the hooks or
// settings missing.
struct Load {
    double seconds = 0;
    double processor = 0;
};

std::optional<Load> loadInChild(const char* mode) {
    std::string output;
    if (!run({std::string(HB_BINARY_DIR) + "/bin/hb_hook_load_child", process().devicePath, mode}, &output)) {
        return std::nullopt;
    }
    Load load;
    if (std::sscanf(output.c_str(), "%lf %lf", &load.seconds, &load.processor) != 2) return std::nullopt;
    return load;
}

// The manual time is the load's own; the processor time beside it is the
// child's too (the CPU column is this process's, starting the children).
void runLoads(benchmark::State& state, const char* mode) {
    if (!ready(state)) return;
    double processor = 0;
    for (auto _ : state) {
        std::optional<Load> load = loadInChild(mode);
        if (!load) {
            state.SkipWithError("the child's load failed or left the hooks or settings missing");
            return;
        }
        state.SetIterationTime(load->seconds);
        processor += load->processor;
    }
    state.counters["load_cpu_us"] = benchmark::Counter(processor * 1e6, benchmark::Counter::kAvgIterations);
}

void BM_LoadHookLibrary(benchmark::State& state) { runLoads(state, "library"); }
BENCHMARK(BM_LoadHookLibrary)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_LoadLibraries(benchmark::State& state) { runLoads(state, "loader"); }
BENCHMARK(BM_LoadLibraries)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

// One getter call and the release of its colour.
void runGetter(benchmark::State& state, id receiver, bool expectHooked) {
    SEL getter = "blue_balloonTextColor"_sel;
    {
        // The answer is checked once, so that neither side measures a getter
        // that does not do its work.
        objc::AutoreleasePool check;
        CGFloat r = 0, g = 0, b = 0, a = 0;
        objc::send<UI::Color*>(receiver, getter)->getRed(&r, &g, &b, &a);
        bool orange = std::abs(r - 1) < 1e-9 && std::abs(g - 128 / 255.0) < 1e-9 && b == 0;
        bool white = r == 1 && g == 1 && b == 1;
        if (expectHooked ? !orange : !white) {
            state.SkipWithError("the getter does not answer as expected");
            return;
        }
    }
    objc::AutoreleasePool pool;
    for (auto _ : state) {
        benchmark::DoNotOptimize(objc::send<id>(receiver, getter));
        pool.drain();
    }
}

bool withLibrary(benchmark::State& state) {
    if (!ready(state)) return false;
    if (!process().loadHere()) {
        state.SkipWithError(process().error.c_str());
        return false;
    }
    return true;
}

void BM_SystemColorGetter(benchmark::State& state) {
    if (!withLibrary(state)) return;
    objc::AutoreleasePool pool;
    id system = objc::send<id>(objc::send<id>(process().systemBehavior, "alloc"_sel), "init"_sel);
    runGetter(state, system, false);
    objc::release(system);
}
BENCHMARK(BM_SystemColorGetter);

void BM_HookedColorGetter(benchmark::State& state) {
    if (!withLibrary(state)) return;
    objc::AutoreleasePool pool;
    runGetter(state, objc::asId(CK::UIBehavior::sharedBehaviors()), true);
}
BENCHMARK(BM_HookedColorGetter);

}  // namespace
