// hbsim serve as a browser meets it: the page, the event stream with the
// apps' frames, touches, open and home, the relaunch of Messages after
// Settings ended it, the reasons the page is told, and a clean end. The
// server runs as a real process on a free port of 127.0.0.1, with a fresh
// device, and is spoken to with httplib's client.
#include "ServeClient.h"

#include <DeviceRun.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

using e2e::Device;
using serve_test::EventStream;
using serve_test::freePort;
using serve_test::ServeRun;
using ::testing::HasSubstr;
using json = nlohmann::json;

bool processGone(int pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

TEST(Serve, ServesThePageAndRefusesForeignRequests) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    httplib::Client client = serve.client();

    auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_THAT(page->get_header_value("Content-Type"), HasSubstr("text/html"));
    EXPECT_THAT(page->body, HasSubstr("<canvas id=\"screen\""));
    EXPECT_THAT(page->body, HasSubstr("src=\"/app.js\""));
    auto script = client.Get("/app.js");
    ASSERT_TRUE(script);
    EXPECT_THAT(script->get_header_value("Content-Type"), HasSubstr("javascript"));
    EXPECT_THAT(script->body, HasSubstr("new EventSource('/events')"));
    auto missing = client.Get("/nothing-here");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);

    // A page of another site that got a name of its own to resolve here.
    auto foreign = client.Get("/api/state", {{"Host", "attacker.example:" + std::to_string(serve.port())}});
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->status, 403);
    // A form post from another site cannot carry JSON, so a POST must.
    auto form = client.Post("/api/open", "app=settings", "application/x-www-form-urlencoded");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 415);
    EXPECT_EQ(serve.state()["front"], "home");
}

TEST(Serve, RefusesMalformedCommands) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    struct Case {
        const char* path;
        const char* body;
    };
    const Case cases[] = {
        {"/api/open", R"({"app": "calculator"})"},
        {"/api/open", R"({"app": 1})"},
        {"/api/open", R"([1, 2])"},
        {"/api/open", R"(not json)"},
        {"/api/touch", R"({"phase": "press", "x": 10, "y": 10})"},
        {"/api/touch", R"({"phase": "down", "x": "10", "y": 10})"},
        {"/api/touch", R"({"phase": "down", "x": 10})"},
        {"/api/touch", R"({"phase": "down", "x": 1e300, "y": 10})"},
    };
    for (const Case& c : cases) {
        auto res = serve.post(c.path, c.body);
        ASSERT_TRUE(res) << c.body;
        EXPECT_EQ(res->status, 400) << c.path << " " << c.body;
        EXPECT_FALSE(json::parse(res->body, nullptr, false).value("error", "").empty()) << res->body;
    }
    // Nothing was launched by any of them.
    EXPECT_EQ(serve.state()["running"], json({{"messages", false}, {"settings", false}}));
}

// The stream gives the state at once, a frame of the app once it is opened,
// and a new frame within moments of a tap that changes the screen.
TEST(Serve, EventStreamYieldsFramesAfterInput) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    EventStream events(serve.port());
    ASSERT_TRUE(events.waitFor([](const serve_test::Event& e) { return e.name == "state"; }));
    EXPECT_EQ(json::parse(events.last("state").data)["front"], "home");

    ASSERT_EQ(serve.post("/api/open", R"({"app": "settings"})")->status, 200);
    ASSERT_TRUE(events.waitFor([](const serve_test::Event& e) { return e.name == "frame"; }));
    e2e::Screenshot root = events.lastFrame();
    ASSERT_TRUE(root.valid());
    EXPECT_EQ(root.width(), 640);
    EXPECT_EQ(root.height(), 1136);
    // The root list: the Huebloom row is white, the grouped background gray.
    EXPECT_EQ(root.atPoint(160, 110), e2e::rgb(0xFFFFFF));
    EXPECT_NE(root.atPoint(160, 276), e2e::rgb(0xFFFFFF));
    json state = json::parse(events.last("state").data);
    EXPECT_EQ(state["front"], "settings");
    EXPECT_EQ(state["running"]["settings"], true);
    EXPECT_EQ(state["screen"], json({{"width", 320}, {"height", 568}}));

    // A tap on the Huebloom row pushes its pane: frames come as it slides in,
    // and the last one shows the pane with its switch row where the gray was.
    const std::size_t before = events.count("frame");
    ASSERT_EQ(serve.post("/api/touch", R"({"phase": "down", "x": 160, "y": 120})")->status, 200);
    httplib::Result up = serve.post("/api/touch", R"({"phase": "up", "x": 160, "y": 120})");
    ASSERT_EQ(up->status, 200);
    const json answer = json::parse(up->body);
    ASSERT_EQ(answer["commands"], 2) << "down and up, the first commands Settings is sent";
    ASSERT_TRUE(events.waitForMore("frame", before));
    ASSERT_TRUE(events.waitUntilStill(2)) << "Settings says when the push has ended";
    EXPECT_EQ(serve.state()["still"], true);
    e2e::Screenshot pane = events.lastFrame();
    EXPECT_GT(events.count("frame"), before + 2) << "the push animates over several frames";
    EXPECT_EQ(pane.atPoint(160, 276), e2e::rgb(0xFFFFFF)) << "the pane's switch row, below its preview";

    // Home and back: the app kept running and its last frame is shown again.
    const std::size_t frames = events.count("frame");
    const std::size_t mark = events.size();
    ASSERT_EQ(serve.post("/api/home", "{}")->status, 200);
    ASSERT_TRUE(events.waitFor(
        [](const serve_test::Event& e) { return e.name == "state" && json::parse(e.data)["front"] == "home"; }, mark));
    const int pid = serve.state()["pids"]["settings"];
    ASSERT_EQ(serve.post("/api/open", R"({"app": "settings"})")->status, 200);
    ASSERT_TRUE(events.waitForMore("frame", frames));
    EXPECT_EQ(serve.state()["pids"]["settings"], pid);
    EXPECT_EQ(events.lastFrame().atPoint(160, 276), e2e::rgb(0xFFFFFF));
}

// Every open page has a stream of its own, and requests are still answered
// while they all listen.
TEST(Serve, SeveralPagesEachGetTheFrames) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    std::vector<std::unique_ptr<EventStream>> pages;
    for (int i = 0; i < 12; ++i) pages.push_back(std::make_unique<EventStream>(serve.port()));
    for (auto& page : pages) ASSERT_TRUE(page->waitForMore("state", 0));
    auto opened = serve.post("/api/open", R"({"app": "settings"})");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->status, 200);
    for (auto& page : pages) EXPECT_TRUE(page->waitForMore("frame", 0));
}

// Settings ends Messages when its colour rows appear; the page is told, and
// the next open launches Messages anew.
TEST(Serve, OpeningMessagesAfterSettingsKilledItRelaunchesIt) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    ASSERT_EQ(serve.post("/api/open", R"({"app": "messages"})")->status, 200);
    ASSERT_TRUE(device.waitForProcess("MobileSMS"));
    const int first = serve.state()["pids"]["messages"];
    ASSERT_GT(first, 0);

    EventStream events(serve.port());
    ASSERT_EQ(serve.post("/api/open", R"({"app": "settings"})")->status, 200);
    ASSERT_TRUE(events.waitForMore("frame", 0));
    ASSERT_TRUE(events.tapAndSettle(serve, 160, 120));  // Huebloom
    EXPECT_EQ(serve.state()["running"]["messages"], true) << "the Huebloom pane has no colour cell";
    // The iMessage Balloons row, below the screen under the preview, is
    // dragged up by 250 points; it opens a list of colour cells, each of which
    // ends Messages as it is placed.
    ASSERT_TRUE(events.dragAndSettle(serve, 160, 500, 160, 250));
    EXPECT_EQ(serve.state()["running"]["messages"], true) << "a drag opens nothing";
    // The drag before has settled (the app said so), so this tap lands on
    // the pane at rest, however loaded the machine.
    ASSERT_TRUE(events.tapAndSettle(serve, 160, 385));
    ASSERT_TRUE(serve.waitForState([](const json& s) { return s["running"]["messages"] == false; }, 60))
        << serve.state().dump();
    const json ended = serve.state();
    EXPECT_EQ(ended["status"], "Messages was ended (killed by Settings)");
    EXPECT_EQ(ended["front"], "settings");
    EXPECT_TRUE(processGone(first));

    ASSERT_EQ(serve.post("/api/open", R"({"app": "messages"})")->status, 200);
    const json again = serve.state();
    EXPECT_EQ(again["front"], "messages");
    EXPECT_EQ(again["running"]["messages"], true);
    EXPECT_NE(again["pids"]["messages"], first);
    EXPECT_THAT(again["status"].get<std::string>(), HasSubstr("Messages launched"));
}

// How an app ended is what the status line says; the front goes home when
// the app in the front goes away.
TEST(Serve, TellsWhyAnAppEnded) {
    struct Case {
        int signal;
        const char* status;
    };
    const Case cases[] = {
        {SIGSEGV, "Messages crashed (signal 11, SIGSEGV)"},
        {SIGKILL, "Messages was ended (killed, signal 9, SIGKILL)"},
        {SIGTERM, "Messages was ended (signal 15, SIGTERM)"},
    };
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    for (const Case& c : cases) {
        ASSERT_EQ(serve.post("/api/open", R"({"app": "messages"})")->status, 200);
        const int pid = serve.state()["pids"]["messages"];
        ASSERT_GT(pid, 0);
        ::kill(pid, c.signal);
        ASSERT_TRUE(serve.waitForState([](const json& s) { return s["running"]["messages"] == false; })) << c.status;
        const json s = serve.state();
        EXPECT_EQ(s["status"], c.status);
        EXPECT_EQ(s["front"], "home");
        EXPECT_TRUE(processGone(pid)) << "reaped, not left a zombie";
    }
}

TEST(Serve, UsedPortGivesStatusTwoAndSaysSo) {
    Device device;
    serve_test::ListeningSocket taken;
    ASSERT_GT(taken.port(), 0);
    e2e::RunResult run = device.hbsim({"serve", "--port", std::to_string(taken.port())}, 30);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("port " + std::to_string(taken.port()) + " on 127.0.0.1 is in use"));
    EXPECT_THAT(run.err, HasSubstr("--port N"));
}

TEST(Serve, NeedsADeviceWithHuebloomInstalled) {
    Device bare({.model = "", .install = false});
    e2e::RunResult notInstalled = bare.hbsim({"serve", "--port", std::to_string(freePort())}, 30);
    EXPECT_EQ(notInstalled.exitCode, 1);
    EXPECT_THAT(notInstalled.err, HasSubstr("hbsim install --device"));

    const std::filesystem::path nowhere = bare.path() / "not-a-device";
    e2e::RunResult noDevice = e2e::runProgram(
        e2e::hbsimProgram(), {"serve", "--device", nowhere.string(), "--port", std::to_string(freePort())}, {}, 30);
    EXPECT_EQ(noDevice.exitCode, 1);
    EXPECT_THAT(noDevice.err, HasSubstr("hbsim device create"));
}

TEST(Serve, SigtermEndsTheServerAndEveryApp) {
    Device device;
    ServeRun serve(device);
    ASSERT_TRUE(serve.ready()) << "hbsim serve did not answer";
    ASSERT_EQ(serve.post("/api/open", R"({"app": "messages"})")->status, 200);
    ASSERT_EQ(serve.post("/api/open", R"({"app": "settings"})")->status, 200);
    ASSERT_TRUE(device.waitForProcess("MobileSMS"));
    ASSERT_TRUE(device.waitForProcess("Preferences"));
    const json pids = serve.state()["pids"];
    // A page still listening must not keep the server from ending.
    EventStream events(serve.port());
    ASSERT_TRUE(events.waitFor([](const serve_test::Event& e) { return e.name == "frame"; }));

    ::kill(serve.pid(), SIGTERM);
    e2e::RunResult end = serve.wait(20);
    EXPECT_FALSE(end.timedOut);
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_THAT(end.out, HasSubstr("hbsim serve: ended"));
    for (const char* app : {"settings", "messages"}) EXPECT_TRUE(processGone(pids[app])) << app;
    EXPECT_TRUE(device.processes("MobileSMS").empty());
    EXPECT_TRUE(device.processes("Preferences").empty());
}

}  // namespace
