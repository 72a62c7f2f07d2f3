// What every hbsim subcommand shares: the device folder chosen with --device
// (on every command), the build it was started from, and the action that the
// chosen subcommand sets up while the command line is parsed and main runs
// afterwards.
#pragma once

#include <Sim/Install.h>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <string>

namespace hbsim {

struct Context {
    std::string device = "./device";
    sim::BuildLayout build;
    // Set by the subcommand the command line chose; gives the exit status.
    std::function<int()> action;

    std::filesystem::path devicePath() const { return std::filesystem::path(device); }
};

// Adds --device to a subcommand (every command takes it, before or after the
// subcommand's own arguments).
void addDeviceOption(CLI::App& command, Context& context);

void addDeviceCommands(CLI::App& app, Context& context);   // device create, install
void addDefaultsCommand(CLI::App& app, Context& context);  // defaults read|write|delete
void addMessagesCommand(CLI::App& app, Context& context);  // messages
void addSettingsCommand(CLI::App& app, Context& context);  // settings
void addDemoCommand(CLI::App& app, Context& context);      // demo
void addServeCommand(CLI::App& app, Context& context);     // serve

}  // namespace hbsim
