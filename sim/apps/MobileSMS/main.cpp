// MobileSMS: the Messages app of the simulated device.
//
// At launch it joins the device named by HB_DEVICE (and its process
// registry, so that `killall MobileSMS` in this device ends it), registers
// ChatKit's classes, lets the hooking platform load the libraries installed
// for it, and only then builds its screen: the conversation list in a
// navigation controller with the transcript pushed on it. Then it writes a
// screenshot, prints its state as JSON, and ends, or stays on its run loop.
#include "MessagesDump.h"

#include <AppHost.h>
#include <Live.h>

#include <ChatKit/ChatKit.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <Substrate/Loader.h>
#include <UIKit/UIKit.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreenshot.h>

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kBundleIdentifier = "com.apple.MobileSMS";
constexpr const char* kExecutableName = "MobileSMS";

struct Options {
    std::string screen = "transcript";
    std::string screenshot;
    bool dump = false;
    std::vector<std::string> withoutClasses;
    bool stay = false;
    bool live = false;
};

struct Screen {
    Ref<UI::Window> window;
    Ref<UI::ViewController> list;
    Ref<UI::ViewController> transcript;  // on screen, or made off screen for the dump
    Ref<UI::View> transcriptView;        // the transcript's view, or one made without a controller
    bool transcriptOnScreen = false;
};

id newInstance(const char* className) {
    Class cls = objc_getClass(className);
    return cls ? objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel) : nil;
}

Screen buildScreen(const Options& o) {
    Screen s;
    s.window = objc::adopt(UI::Window::alloc()->init());
    // The app's tint reaches every bar button and control of the window.
    s.window->setTintColor(objc::send<UI::Color*>(CK::UIBehavior::sharedBehaviors(), "appTintColor"_sel));

    s.list = objc::adopt(objc::cast<UI::ViewController>(newInstance("CKConversationListController")));
    s.transcript = objc::adopt(objc::cast<UI::ViewController>(newInstance("CKTranscriptController")));
    Ref<UI::ViewController> root;
    if (s.list) {
        Ref<UI::NavigationController> navigation =
            objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(s.list.get()));
        if (o.screen == "transcript" && s.transcript) {
            navigation->pushViewController(s.transcript.get(), NO);
            s.transcriptOnScreen = true;
        }
        root = navigation.get();
    } else if (o.screen == "transcript" && s.transcript) {
        // A system without the conversation list shows the transcript alone.
        Ref<UI::NavigationController> navigation =
            objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(s.transcript.get()));
        s.transcriptOnScreen = true;
        root = navigation.get();
    }
    s.window->setRootViewController(root.get());
    s.window->makeKeyAndVisible();
    UI::updateDisplay();

    if (s.transcript) {
        s.transcriptView = s.transcript->view();
    } else if (Class viewClass = objc_getClass("CKTranscriptView")) {
        // Without its controller the system can still say how its balloons
        // look: a transcript view made and laid out off screen.
        s.transcriptView = objc::adopt(objc::send<UI::View*>(objc::send<id>(viewClass, "alloc"_sel),
                                                             "initWithFrame:"_sel, UI::Screen::mainScreen()->bounds()));
    }
    if (s.transcriptView && !s.transcriptOnScreen) s.transcriptView->layoutIfNeeded();
    return s;
}

int run(const Options& o) {
    if (std::string problem = apphost::deviceProblem("MobileSMS", "hbsim messages"); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 2;
    }
    apphost::ProcessRegistration registration(kExecutableName);
    if (!registration.registered()) {
        std::fprintf(stderr, "MobileSMS: could not register in the device's process registry\n");
    }

    objc::AutoreleasePool pool;
    chatkit::registerClasses(std::set<std::string>(o.withoutClasses.begin(), o.withoutClasses.end()));
    // The libraries' initialisers see ChatKit's classes but no instance of
    // them: nothing of ChatKit has been asked anything yet.
    std::vector<std::string> loaded = substrate::loadLibraries(kBundleIdentifier, kExecutableName);

    Screen screen = buildScreen(o);
    if (o.live) return apphost::runLive();
    if (!o.screenshot.empty() && !UI::screenshot::writeScreenPNG(o.screenshot)) {
        std::fprintf(stderr, "MobileSMS: cannot write the screenshot %s\n", o.screenshot.c_str());
        return 1;
    }
    if (o.dump) {
        mobilesms::DumpSources sources;
        sources.loaded = loaded;
        sources.screen = o.screen;
        sources.transcriptController = objc::asId(screen.transcript.get());
        sources.transcriptView = screen.transcriptView.get();
        sources.transcriptOnScreen = screen.transcriptOnScreen;
        std::printf("%s\n", mobilesms::makeDump(sources).dump(2).c_str());
        std::fflush(stdout);
    }
    pool.drain();
    if (o.stay) NS::loop::run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    CLI::App app{"The Messages app of a simulated device (run it through \"hbsim messages\")", kExecutableName};
    app.add_option("--screen", o.screen, "What the app shows")
        ->check(CLI::IsMember({"transcript", "list"}))
        ->capture_default_str();
    app.add_option("--screenshot", o.screenshot, "Write a PNG of the screen at screen scale")->type_name("FILE");
    app.add_flag("--dump", o.dump, "Print the app's state as one JSON object");
    app.add_option("--without-class", o.withoutClasses, "Leave this ChatKit class out (repeatable)")
        ->type_name("NAME")
        ->allow_extra_args(false)
        ->check([](const std::string& name) {
            for (const char* known : chatkit::kClassNames) {
                if (name == known) return std::string();
            }
            return name + " is not a ChatKit class";
        });
    app.add_flag("--stay", o.stay, "Keep running on the run loop until ended");
    app.add_flag("--live", o.live,
                 "Be driven by hbsim serve: touches on standard input, PNG frames on standard output");
    CLI11_PARSE(app, argc, argv);
    return run(o);
}
