// hbsim messages: runs the Messages app of the device.
#include "Commands.h"

#include <Sim/AppLauncher.h>
#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace hbsim {
namespace {

struct MessagesOptions {
    std::string screen = "transcript";
    std::string screenshot;
    bool dump = false;
    std::vector<std::string> withoutClasses;
    bool stay = false;
};

int runMessages(const Context& context, const MessagesOptions& o) {
    sim::requireDevice(context.devicePath());
    if (!sim::hookLibraryInstalled(context.devicePath())) {
        std::fprintf(stderr,
                     "hbsim: note: Huebloom is not installed in %s, so Messages shows the system's look (run "
                     "hbsim install --device %s)\n",
                     context.device.c_str(), context.device.c_str());
    }
    std::vector<std::string> arguments = {"--screen", o.screen};
    if (!o.screenshot.empty()) {
        // The app runs in the same working folder, but an absolute path keeps
        // the file where the person meant it whatever the app does.
        arguments.push_back("--screenshot");
        arguments.push_back(std::filesystem::absolute(o.screenshot).string());
    }
    if (o.dump) arguments.push_back("--dump");
    for (const std::string& name : o.withoutClasses) {
        arguments.push_back("--without-class");
        arguments.push_back(name);
    }
    if (o.stay) arguments.push_back("--stay");
    return sim::runApp(context.build.program("MobileSMS"), arguments, context.devicePath());
}

}  // namespace

void addMessagesCommand(CLI::App& app, Context& context) {
    auto o = std::make_shared<MessagesOptions>();
    CLI::App* messages = app.add_subcommand("messages", "Run the Messages app in the device");
    messages->footer(
        "\nThe app (the process MobileSMS) loads the libraries installed for it, shows the conversation\n"
        "list with a conversation opened on it (or only the list), writes the screenshot and prints the\n"
        "dump, and ends, unless --stay keeps it running until killall -9 MobileSMS in this device or\n"
        "Ctrl-C. Its exit status is hbsim's (128 + the signal when a signal ended it).\n"
        "\nExample: hbsim messages --screenshot transcript.png --dump");
    messages->add_option("--screen", o->screen, "What the app shows")
        ->check(CLI::IsMember({"transcript", "list"}))
        ->capture_default_str();
    messages->add_option("--screenshot", o->screenshot, "Write a PNG of the screen at screen scale")->type_name("FILE");
    messages->add_flag("--dump", o->dump,
                       "Print one JSON object: the libraries loaded, every colour and choice of CKUIBehavior, the "
                       "details button tint, a text balloon's look, the balloons' tails and getRandomColor");
    messages
        ->add_option("--without-class", o->withoutClasses,
                     "Run as a system without this ChatKit class (repeatable), e.g. CKTranscriptController")
        ->type_name("NAME")
        ->allow_extra_args(false);
    messages->add_flag("--stay", o->stay, "Keep the app running after the screenshot or dump");
    addDeviceOption(*messages, context);
    messages->callback([&context, o] { context.action = [&context, o] { return runMessages(context, *o); }; });
}

}  // namespace hbsim
