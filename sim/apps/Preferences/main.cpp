// Preferences: the Settings app of the simulated device.
//
// At launch it joins the device named by HB_DEVICE (and its process
// registry), shows its root list of the settings bundles installed in the
// device in a navigation controller, and runs the steps of its script: taps,
// drags, slider moves, hex entry and navigation, on the virtual clock. Then
// it writes a screenshot, prints its state as JSON, and ends, or stays on
// its run loop.
#include "RootListController.h"
#include "ScreenDriver.h"
#include "SettingsScript.h"

#include <AppHost.h>
#include <Live.h>
#include <RunLog.h>

#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <Preferences/PSListController.h>
#include <UIKit/UIKit.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreenshot.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kExecutableName = "Preferences";

struct Options {
    std::string script;
    std::vector<std::string> steps;
    bool dump = false;
    std::string screenshot;
    bool stay = false;
    bool progress = false;
    bool live = false;
};

// The script's steps, then those given one by one; a ScriptError names the
// line that cannot be read.
std::vector<settings::Step> readSteps(const Options& o) {
    std::vector<settings::Step> steps;
    if (!o.script.empty()) {
        std::ifstream in(o.script);
        if (!in) throw settings::ScriptError("cannot read the script " + o.script);
        std::ostringstream text;
        text << in.rdbuf();
        try {
            steps = settings::parseScript(text.str());
        } catch (const settings::ScriptError& e) {
            throw settings::ScriptError(o.script + ", " + e.what());
        }
    }
    for (const std::string& step : o.steps) {
        if (auto parsed = settings::parseStep(step, 0)) steps.push_back(std::move(*parsed));
    }
    return steps;
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

int run(const Options& o) {
    if (std::string problem = apphost::deviceProblem("Preferences", "hbsim settings"); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 2;
    }
    std::vector<settings::Step> steps;
    try {
        steps = readSteps(o);
    } catch (const settings::ScriptError& e) {
        std::fprintf(stderr, "settings: %s\n", e.what());
        return 2;
    }
    apphost::ProcessRegistration registration(kExecutableName);
    if (!registration.registered())
        std::fprintf(stderr, "Preferences: could not register in the device's process registry\n");
    const apphost::RunLog log;

    objc::AutoreleasePool pool;
    NS::loop::useVirtualClock(!o.live);
    settings::registerRootListController();
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    Ref<UI::ViewController> root = objc::adopt(objc::send<UI::ViewController*>(
        objc::send<id>(objc_getClass(settings::kRootControllerClass), "alloc"_sel), "init"_sel));
    root->setTitle("Settings"_ns);
    Ref<UI::NavigationController> navigation =
        objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(root.get()));
    window->setRootViewController(navigation.get());
    window->makeKeyAndVisible();
    if (o.live) return apphost::runLive();

    settings::ScreenDriver driver(navigation.get());
    driver.settle(0.5);
    auto dumpText = [&] {
        nlohmann::json dump = driver.screenState();
        dump["log"] = log.sinceStart();
        return dump.dump(2) + "\n";
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const settings::Step& step = steps[i];
        objc::AutoreleasePool stepPool;
        if (o.progress) std::fprintf(stderr, "  [%zu/%zu] %s\n", i + 1, steps.size(), step.text.c_str());
        try {
            if (step.kind == settings::Step::Kind::Screenshot) {
                if (!UI::screenshot::writeScreenPNG(step.argument))
                    throw settings::StepError("cannot write the screenshot " + step.argument);
            } else if (step.kind == settings::Step::Kind::Dump) {
                if (step.argument.empty()) {
                    std::fputs(dumpText().c_str(), stdout);
                    std::fflush(stdout);
                } else if (!writeText(step.argument, dumpText())) {
                    throw settings::StepError("cannot write the dump " + step.argument);
                }
            } else {
                driver.run(step);
            }
        } catch (const settings::StepError& e) {
            const std::string where = step.line > 0 ? "line " + std::to_string(step.line) : "step";
            std::fprintf(stderr, "settings: %s \"%s\" failed: %s\n", where.c_str(), step.text.c_str(), e.what());
            return 1;
        }
    }
    if (!o.screenshot.empty() && !UI::screenshot::writeScreenPNG(o.screenshot)) {
        std::fprintf(stderr, "settings: cannot write the screenshot %s\n", o.screenshot.c_str());
        return 1;
    }
    if (o.dump) {
        std::fputs(dumpText().c_str(), stdout);
        std::fflush(stdout);
    }
    pool.drain();
    if (o.stay) {
        NS::loop::useVirtualClock(false);
        NS::loop::run();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    CLI::App app{"The Settings app of a simulated device (run it through \"hbsim settings\")", kExecutableName};
    app.add_option("--script", o.script, "Run the steps of this file, one a line")->type_name("FILE");
    app.add_option("--step", o.steps, "Run one step (repeatable; after the script's)")
        ->type_name("STEP")
        ->allow_extra_args(false);
    app.add_flag("--dump", o.dump, "Print the screen's state and the run's log as one JSON object at the end");
    app.add_option("--screenshot", o.screenshot, "Write a PNG of the screen at the end")->type_name("FILE");
    app.add_flag("--stay", o.stay, "Keep running on the run loop until ended");
    app.add_flag("--progress", o.progress, "Print each step on standard error as it starts");
    app.add_flag("--live", o.live,
                 "Be driven by hbsim serve: touches on standard input, PNG frames on standard output");
    CLI11_PARSE(app, argc, argv);
    return run(o);
}
