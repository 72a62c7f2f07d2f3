// hbsim demo: the road of one colour change, as a person would take it, on a
// fresh device: Messages as the system draws it, Settings with Huebloom
// turned on and two iMessage colours chosen (the balloon's by a drag on the
// colour field, its text's through the hex alert), a balloon mode chosen, and Messages
// again with the new colours. Every screen is kept as a PNG with an
// index.html that shows them in order.
#include "Commands.h"

#include <Sim/AppLauncher.h>
#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>
#include <Sim/UserError.h>

#include <Device/DevicePath.h>
#include <Device/Processes.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace hbsim {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultDevice = "./device";

struct DemoOptions {
    std::string out = "./demo";
};

struct Shot {
    const char* file;
    const char* caption;
};

// The screens of the demo in the order a person sees them.
constexpr Shot kMessagesBefore{"01-messages-before.png",
                               "Messages as the system draws it, before Huebloom is turned on"};
constexpr Shot kSettingsShots[] = {
    {"02-settings.png", "Settings lists the installed Huebloom pane"},
    {"03-huebloom-enabled.png",
     "The Huebloom pane with its master switch turned on; its preview shows the system's balloons"},
    {"04-imessage-colours.png", "The iMessage colours under their preview: every swatch shows the built-in colour"},
    {"05-chooser-drag.png", "The balloon colour (Bottom) picked by a drag on the colour field"},
    {"06-hex-alert.png", "The text colour typed into the hex alert"},
    {"07-imessage-colours-after.png",
     "Back on the pane, the swatches show the new colours and the preview the new text (Messages was ended)"},
    {"08-balloon-mode.png", "The iMessage balloon style set to Solid: the preview paints the Bottom colour at once"},
};
constexpr Shot kMessagesAfter{"09-messages-after.png", "Messages launched again, with the new balloon colours"};

// The steps a person takes in Settings; each screenshot names a file above.
std::string settingsScript(const fs::path& out) {
    auto shot = [&](int i) { return "screenshot \"" + (out / kSettingsShots[i].file).string() + "\"\n"; };
    return "# The road of one colour change, as hbsim demo takes it.\n" + shot(0) +
           "open Huebloom\n"
           "switch Enabled on\n" +
           shot(1) + "open \"iMessage Balloons\"\n" + shot(2) +
           "open color_key=bot\n"
           "picker drag 40 200 160 25 12\n" +
           shot(3) +
           "back\n"
           "open color_key=blueText\n"
           "hex\n"
           "alert text \"#1B1B3A\"\n" +
           shot(4) +
           "alert button Set\n"
           "back\n"
           "scroll top\n" +
           shot(5) +
           "back\n"
           "choose iMessage Solid\n"
           "scroll top\n" +
           shot(6) + "dump \"" + (out / "settings.json").string() + "\"\n";
}

std::string htmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string figure(const Shot& shot) {
    return "  <figure><img src=\"" + htmlEscape(shot.file) + "\" alt=\"" + htmlEscape(shot.caption) +
           "\"><figcaption>" + htmlEscape(shot.caption) + "</figcaption></figure>\n";
}

void writeIndex(const fs::path& out) {
    std::ofstream html(out / "index.html");
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>Huebloom: one colour change</title>\n<style>\n"
            "body { font: 15px/1.4 -apple-system, Helvetica, Arial, sans-serif; margin: 24px; background: #f4f4f6; }\n"
            "section { display: flex; flex-wrap: wrap; gap: 24px; margin-bottom: 32px; }\n"
            "figure { margin: 0; width: 320px; }\n"
            "img { width: 320px; border: 1px solid #ccc; border-radius: 12px; background: white; }\n"
            "figcaption { margin-top: 6px; color: #333; }\n"
            "</style>\n</head>\n<body>\n<h1>Huebloom: the road of one colour change</h1>\n"
            "<h2>Before and after</h2>\n<section>\n"
         << figure(kMessagesBefore) << figure(kMessagesAfter) << "</section>\n<h2>Step by step</h2>\n<section>\n"
         << figure(kMessagesBefore);
    for (const Shot& shot : kSettingsShots) html << figure(shot);
    html << figure(kMessagesAfter) << "</section>\n</body>\n</html>\n";
    if (!html) throw sim::UserError("cannot write " + (out / "index.html").string());
}

// Waits (briefly) until the app has joined the device's process registry, so
// that a kill from Settings finds it.
bool waitUntilRegistered(const char* name, pid_t pid) {
    for (int i = 0; i < 200; ++i) {
        for (pid_t running : device::runningProcesses(name))
            if (running == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void step(int number, const char* what) {
    std::printf("[%d/6] %s\n", number, what);
    std::fflush(stdout);
}

void requireSuccess(int status, const char* what) {
    if (status != 0) throw sim::UserError(std::string(what) + " failed (exit status " + std::to_string(status) + ")");
}

int runDemo(const Context& context, const DemoOptions& o, bool deviceGiven) {
    const auto started = std::chrono::steady_clock::now();
    std::error_code ec;
    const fs::path out = fs::absolute(o.out, ec).lexically_normal();
    // The demo's own device lives in its output folder and is made anew each
    // time; a device the person named must not hold settings the demo would
    // overwrite.
    const fs::path devicePath = deviceGiven ? fs::absolute(context.devicePath(), ec) : out / "device";
    if (deviceGiven &&
        fs::exists(sim::inDevice(devicePath, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"), ec))
        throw sim::UserError("the demo needs a fresh device, but " + context.device +
                             " already holds Huebloom settings (name another folder with --device, or leave it out)");
    fs::create_directories(out, ec);
    if (ec) throw sim::UserError("cannot make the output folder " + out.string() + ": " + ec.message());
    if (!deviceGiven) fs::remove_all(devicePath, ec);

    step(1, "Making a fresh device and installing Huebloom into it");
    sim::createDevice(devicePath);
    sim::installDeliverables(devicePath, context.build);
    if (!sim::bundleInstalled(devicePath))
        throw sim::UserError("the settings bundle is not built (build the huebloom_bundle target, or run make)");
    device::setRoot(devicePath.string());

    step(2, "Messages as the system draws it");
    requireSuccess(sim::runApp(context.build.program("MobileSMS"),
                               {"--screenshot", (out / kMessagesBefore.file).string()}, devicePath),
                   "Messages");

    step(3, "Messages left running, so that Settings ends it");
    const pid_t messages = sim::startApp(context.build.program("MobileSMS"), {"--stay"}, devicePath, true);
    const bool registered = waitUntilRegistered("MobileSMS", messages);

    step(4, "Settings: turn Huebloom on, pick two colours, choose a balloon style");
    const fs::path script = out / "settings-steps.txt";
    std::ofstream(script) << settingsScript(out);
    const int settingsStatus =
        sim::runApp(context.build.program("Preferences"), {"--script", script.string(), "--progress"}, devicePath);
    // Settings ended Messages when its colour rows appeared; end it here if
    // that did not happen, so the demo never leaves it behind.
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = ::waitpid(messages, nullptr, WNOHANG) == messages;
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        ::kill(messages, SIGKILL);
        sim::waitForApp(messages);
    }
    requireSuccess(settingsStatus, "Settings");
    std::printf("      Messages %s\n", ended && registered ? "was ended by Settings (killall -9 MobileSMS)"
                                                           : "was still running and has been ended by the demo");

    step(5, "Messages launched again, with the new colours");
    requireSuccess(sim::runApp(context.build.program("MobileSMS"),
                               {"--screenshot", (out / kMessagesAfter.file).string()}, devicePath),
                   "Messages");

    step(6, "Writing the page of screenshots");
    writeIndex(out);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "\nDone in %.1f s. Open %s\n(screenshots, the steps taken in settings-steps.txt and the final "
        "Settings state in settings.json are beside it; the device is %s)\n",
        seconds, (out / "index.html").c_str(), devicePath.c_str());
    return 0;
}

}  // namespace

void addDemoCommand(CLI::App& app, Context& context) {
    auto o = std::make_shared<DemoOptions>();
    CLI::App* demo = app.add_subcommand("demo", "Show the road of one colour change, with screenshots");
    demo->footer(
        "\nOn a fresh device (OUT/device unless --device names an empty or new one), the demo installs\n"
        "Huebloom, screenshots Messages, then in Settings turns Huebloom on, picks the iMessage balloon\n"
        "colour by a drag on the colour field, types the text colour into the hex alert, goes back (the\n"
        "swatches update and Messages, left running, is ended) and sets the iMessage balloon style to\n"
        "Solid; then it launches Messages again. Every screen is written to OUT with an\n"
        "index.html that shows them in order.\n"
        "\nExample: hbsim demo --out demo && xdg-open demo/index.html");
    demo->add_option("--out", o->out, "The folder of the screenshots and index.html")
        ->type_name("DIR")
        ->capture_default_str();
    addDeviceOption(*demo, context);
    demo->callback([&context, o] {
        const bool deviceGiven = context.device != kDefaultDevice;
        context.action = [&context, o, deviceGiven] { return runDemo(context, *o, deviceGiven); };
    });
}

}  // namespace hbsim
