// hbsim settings: runs the Settings app of the device with a script of steps.
#include "Commands.h"

#include <Sim/AppLauncher.h>
#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>
#include <Sim/UserError.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace hbsim {
namespace {

struct SettingsOptions {
    std::string script;
    std::vector<std::string> steps;
    bool dump = false;
    std::string screenshot;
    bool stay = false;
    bool progress = false;
};

int runSettings(const Context& context, const SettingsOptions& o) {
    sim::requireDevice(context.devicePath());
    if (!o.script.empty() && !std::ifstream(o.script)) {
        throw sim::UserError("cannot read the script " + o.script +
                             " (give the path of a text file of steps, one a line)");
    }
    if (!sim::bundleInstalled(context.devicePath())) {
        std::fprintf(stderr,
                     "hbsim: note: the Huebloom settings bundle is not installed in %s, so Settings lists no "
                     "Huebloom pane (build it, then run hbsim install --device %s)\n",
                     context.device.c_str(), context.device.c_str());
    }
    std::vector<std::string> arguments;
    if (!o.script.empty()) arguments.insert(arguments.end(), {"--script", o.script});
    for (const std::string& step : o.steps) arguments.insert(arguments.end(), {"--step", step});
    if (o.dump) arguments.push_back("--dump");
    if (!o.screenshot.empty()) arguments.insert(arguments.end(), {"--screenshot", o.screenshot});
    if (o.stay) arguments.push_back("--stay");
    if (o.progress) arguments.push_back("--progress");
    return sim::runApp(context.build.program("Preferences"), arguments, context.devicePath());
}

}  // namespace

void addSettingsCommand(CLI::App& app, Context& context) {
    auto o = std::make_shared<SettingsOptions>();
    CLI::App* settings = app.add_subcommand("settings", "Run the Settings app in the device, with steps");
    settings->footer(
        "\nThe app (the process Preferences) shows its root list of the installed settings bundles and runs\n"
        "the steps, the script's first, then each --step, as a finger would, on a virtual clock (wait is\n"
        "instant). One step a line; a word with blanks goes in double quotes; lines starting with # are\n"
        "comments:\n"
        "  open ROW                 tap a row: \"Title\", key=NAME or color_key=NAME\n"
        "  back                     tap the back button\n"
        "  switch ROW on|off        turn a row's switch\n"
        "  choose ROW VALUE-TITLE   open a list row, tap the choice, go back\n"
        "  picker tap X Y           tap the colour field (points in the picker)\n"
        "  picker drag X1 Y1 X2 Y2 [STEPS]\n"
        "  slider hue|saturation|brightness|alpha VALUE   (red|green|blue on RGB rows)\n"
        "  hex                      tap the chooser's # button\n"
        "  alert text TEXT          type into the alert's field\n"
        "  alert button Set|Copy|Close\n"
        "  rotate landscape|portrait\n"
        "  scroll top               back to the first rows (a tap on the status bar)\n"
        "  wait SECONDS\n"
        "  screenshot FILE          a PNG of the screen now\n"
        "  dump [FILE]              the state as JSON (standard output without FILE)\n"
        "A step that names nothing on screen ends the run with status 1 and says what the screen shows.\n"
        "\nExample:\n"
        "  hbsim settings --step 'open Huebloom' --step 'switch Enabled on' \\\n"
        "                 --step 'open \"iMessage Balloons\"' --step 'open color_key=blueText' \\\n"
        "                 --step 'picker drag 20 40 200 120' --step back --dump");
    settings->add_option("--script", o->script, "Run the steps of this file, one a line")->type_name("FILE");
    settings->add_option("--step", o->steps, "Run one step (repeatable; after the script's)")
        ->type_name("STEP")
        ->allow_extra_args(false);
    settings->add_flag("--dump", o->dump,
                       "At the end, print one JSON object: the visible controller, the navigation titles, the rows "
                       "with their values and swatches, the chooser's state, the alert, and this run's log (kills, "
                       "notifications, URLs, the pasteboard)");
    settings->add_option("--screenshot", o->screenshot, "At the end, write a PNG of the screen at screen scale")
        ->type_name("FILE");
    settings->add_flag("--stay", o->stay, "Keep the app running after the steps, until killall Preferences or Ctrl-C");
    settings->add_flag("--progress", o->progress, "Print each step on standard error as it starts");
    addDeviceOption(*settings, context);
    settings->callback([&context, o] { context.action = [&context, o] { return runSettings(context, *o); }; });
}

}  // namespace hbsim
