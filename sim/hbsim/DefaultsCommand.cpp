// hbsim defaults read|write|delete: the device's preferences domains, in the
// manner of the `defaults` command.
#include "Commands.h"

#include <Sim/Defaults.h>
#include <Sim/DeviceFolder.h>
#include <Sim/UserError.h>

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace hbsim {
namespace {

namespace defaults = sim::defaults;

struct Arguments {
    std::string domain;
    std::string key;
    std::vector<std::string> rest;
};

// Makes the device current for Foundation's phone paths.
void enterDevice(const Context& context) {
    sim::requireDevice(context.devicePath());
    device::setRoot(context.device);
}

int read(const Context& context, const Arguments& a) {
    enterDevice(context);
    NS::Dictionary* domain = defaults::readDomain(a.domain);
    if (domain == nullptr) {
        throw sim::UserError("the domain " + a.domain +
                             " does not exist in this device (write a key with hbsim "
                             "defaults write " +
                             a.domain + " KEY VALUE)");
    }
    if (a.key.empty()) {
        std::printf("%s\n", defaults::format(domain).c_str());
        return 0;
    }
    NS::String* key = NS::String::stringWithUTF8String(a.key.c_str());
    auto* value = objc::cast<NS::Object>(domain->objectForKey(key));
    if (value == nullptr) {
        throw sim::UserError("the domain " + a.domain + " has no key " + a.key + " (hbsim defaults read " + a.domain +
                             " lists its keys)");
    }
    std::printf("%s\n", defaults::format(value, true).c_str());
    return 0;
}

// VALUE, or -TYPE VALUE, in either order of flag and value.
int write(const Context& context, const Arguments& a) {
    std::optional<defaults::ValueType> type;
    std::optional<std::string> text;
    for (const std::string& word : a.rest) {
        if (!type && !text) {
            if (auto t = defaults::parseTypeFlag(word)) {
                type = t;
                continue;
            }
        }
        if (text) throw sim::UserError("defaults write takes one value after the key, got another: \"" + word + "\"");
        text = word;
    }
    if (!text) {
        throw sim::UserError("defaults write needs a value: hbsim defaults write " + a.domain + " " + a.key +
                             " [-bool|-int|-float|-string] VALUE");
    }
    enterDevice(context);
    defaults::requireValidDomain(a.domain);
    NS::Object* value = defaults::makeValue(type.value_or(defaults::ValueType::String), *text);
    defaults::writeValue(a.domain, a.key, value);
    return 0;
}

int remove(const Context& context, const Arguments& a) {
    enterDevice(context);
    if (a.key.empty()) {
        if (!defaults::deleteDomain(a.domain)) {
            throw sim::UserError("the domain " + a.domain + " does not exist in this device");
        }
        return 0;
    }
    if (!defaults::deleteKey(a.domain, a.key)) {
        throw sim::UserError("the domain " + a.domain + " has no key " + a.key + "; nothing was changed");
    }
    return 0;
}

}  // namespace

void addDefaultsCommand(CLI::App& app, Context& context) {
    CLI::App* group =
        app.add_subcommand("defaults", "Read and write the device's preferences, as the defaults command does");
    group->footer(
        "\nThe domain D is the file /var/mobile/Library/Preferences/D.plist of the device. Huebloom's\n"
        "settings are the domain com.Quillfen.huebloom; the Messages app reads them when it starts.");
    group->require_subcommand(1);
    addDeviceOption(*group, context);
    auto args = std::make_shared<Arguments>();

    CLI::App* readCommand = group->add_subcommand("read", "Print the whole domain, or the value of one key");
    readCommand->footer("\nExample: hbsim defaults read com.Quillfen.huebloom blueText");
    readCommand->add_option("DOMAIN", args->domain, "The domain, e.g. com.Quillfen.huebloom")->required();
    readCommand->add_option("KEY", args->key, "The key; without it the whole domain is printed");
    addDeviceOption(*readCommand, context);
    readCommand->callback([&context, args] { context.action = [&context, args] { return read(context, *args); }; });

    CLI::App* writeCommand = group->add_subcommand("write", "Set one key to a typed value");
    writeCommand->add_option("DOMAIN", args->domain, "The domain, e.g. com.Quillfen.huebloom")->required();
    writeCommand->add_option("KEY", args->key, "The key, e.g. blueText")->required();
    // The type flags are written with one dash, as defaults writes them, so
    // they and the value are read from what is left after the two names.
    writeCommand->allow_extras();
    writeCommand->footer(
        "\nThe whole command: hbsim defaults write [--device DIR] DOMAIN KEY [-bool|-int|-float|-string] VALUE\n"
        "The value is a string unless a type comes before it: -bool (true, false, yes, no, 1 or 0),\n"
        "-int (a whole number), -float (a decimal number) or -string.\n"
        "\nExamples:\n"
        "  hbsim defaults write com.Quillfen.huebloom enabled -bool true\n"
        "  hbsim defaults write com.Quillfen.huebloom imessage -int 1\n"
        "  hbsim defaults write com.Quillfen.huebloom blueText \"#FF8000\"");
    addDeviceOption(*writeCommand, context);
    writeCommand->callback([&context, args, writeCommand] {
        args->rest = writeCommand->remaining();
        context.action = [&context, args] { return write(context, *args); };
    });

    CLI::App* deleteCommand =
        group->add_subcommand("delete", "Remove one key, or the whole domain when no key is given");
    deleteCommand->footer("\nExample: hbsim defaults delete com.Quillfen.huebloom blueText");
    deleteCommand->add_option("DOMAIN", args->domain, "The domain, e.g. com.Quillfen.huebloom")->required();
    deleteCommand->add_option("KEY", args->key, "The key; without it the whole domain is removed");
    addDeviceOption(*deleteCommand, context);
    deleteCommand->callback([&context, args] { context.action = [&context, args] { return remove(context, *args); }; });
}

}  // namespace hbsim
