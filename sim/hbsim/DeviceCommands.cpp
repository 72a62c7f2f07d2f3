// hbsim device create, hbsim install.
#include "Commands.h"

#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>

#include <cstdio>
#include <memory>

namespace hbsim {

void addDeviceCommands(CLI::App& app, Context& context) {
    CLI::App* device = app.add_subcommand("device", "Make device folders");
    device->footer("");
    device->require_subcommand(1);
    addDeviceOption(*device, context);

    auto model = std::make_shared<std::string>();
    CLI::App* create = device->add_subcommand("create", "Create the device folder, or complete an existing one");
    create->footer(
        "\nNothing in an existing device is lost; running it again is harmless. The model sets the screen:\n"
        "iphone4 320x480, iphone5 320x568, ipad 768x1024 points, all at scale 2.");
    create
        ->add_option("--model", *model, "The device model; a new device is an iphone5, an existing one keeps its model")
        ->check(CLI::IsMember({"iphone4", "iphone5", "ipad"}));
    addDeviceOption(*create, context);
    create->callback([&context, model] {
        context.action = [&context, model] {
            sim::createDevice(context.devicePath(), *model);
            std::printf("device %s (%s)\n", context.device.c_str(), sim::deviceModel(context.devicePath()).c_str());
            return 0;
        };
    });

    CLI::App* install =
        app.add_subcommand("install", "Install the built hook library and settings bundle into the device");
    install->footer(
        "\nThe files are laid out as a package lays them out on a phone:\n"
        "  Huebloom.dylib, Huebloom.plist  ->  /Library/MobileSubstrate/DynamicLibraries/\n"
        "  Huebloom.bundle                 ->  /Library/PreferenceBundles/Huebloom.bundle\n"
        "  the bundle's entry.plist        ->  /Library/PreferenceLoader/Preferences/Huebloom.plist\n"
        "They are taken from the build that holds this hbsim (" +
        context.build.binDir.parent_path().string() +
        ").\nThe settings bundle is installed when it has been built. Installing again replaces what is there.");
    addDeviceOption(*install, context);
    install->callback([&context] {
        context.action = [&context] {
            sim::InstallReport report = sim::installDeliverables(context.devicePath(), context.build);
            for (const std::string& path : report.installed) std::printf("installed %s\n", path.c_str());
            if (!report.bundleInstalled) {
                std::printf("the settings bundle is not built (no %s): only the hook library is installed\n",
                            context.build.bundle.c_str());
            }
            return 0;
        };
    });
}

}  // namespace hbsim
