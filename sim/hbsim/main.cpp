// hbsim: creates simulated devices, installs the deliverables into them,
// reads and writes their preferences, and runs their apps.
#include "Commands.h"

#include <Sim/UserError.h>

#include <ObjCBridge/AutoreleasePool.h>

#include <cstdio>
#include <exception>

namespace hbsim {

void addDeviceOption(CLI::App& command, Context& context) {
    command.add_option("--device", context.device, "The device folder")->type_name("DIR")->capture_default_str();
}

}  // namespace hbsim

int main(int argc, char** argv) {
    objc::AutoreleasePool pool;
    hbsim::Context context;
    context.build = sim::BuildLayout::fromBinDir(sim::BuildLayout::currentProgramDir());

    CLI::App app{
        "hbsim: a simulated phone for Huebloom. It creates a device folder laid out like the phone's file "
        "system, installs the built hook library and settings bundle into it as a package would, reads and "
        "writes its preferences, and runs its apps as real processes.",
        "hbsim"};
    app.require_subcommand(1);
    app.footer(
        "\nA first run:\n"
        "  hbsim device create\n"
        "  hbsim install\n"
        "  hbsim defaults write com.Quillfen.huebloom enabled -bool true\n"
        "  hbsim defaults write com.Quillfen.huebloom blueText \"#FF8000\"\n"
        "  hbsim messages --screenshot messages.png\n"
        "\nEvery command works on ./device unless --device names another folder.\n"
        "Run \"hbsim COMMAND --help\" for the options of a command.");
    hbsim::addDeviceOption(app, context);
    hbsim::addDeviceCommands(app, context);
    hbsim::addDefaultsCommand(app, context);
    hbsim::addMessagesCommand(app, context);
    hbsim::addSettingsCommand(app, context);
    hbsim::addDemoCommand(app, context);
    hbsim::addServeCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    try {
        return context.action ? context.action() : 0;
    } catch (const sim::UserError& e) {
        std::fprintf(stderr, "hbsim: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hbsim: %s\n", e.what());
        return 1;
    }
}
