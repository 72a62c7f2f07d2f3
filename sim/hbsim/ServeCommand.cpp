// hbsim serve: the device in a browser. One page shows the screen in a phone
// frame; the mouse is a finger on it. The apps are the device's own programs
// in live mode, started when opened and kept running in the background, as
// on the phone; their frames reach the page as server-sent events.
//
//   GET  /, /style.css, /app.js   the page
//   GET  /events                  the event stream: "state" (JSON), "frame" (base64 PNG) and
//                                 "still" ({"commands": N}: the front app has settled after N commands)
//   GET  /api/state               the same state as JSON, with the apps' pids
//   GET  /frame.png               the front app's latest frame
//   POST /api/open  {"app": "settings"|"messages"}
//   POST /api/home
//   POST /api/touch {"phase": "down"|"move"|"up", "x": X, "y": Y}   screen points; answers
//                                 {"ok": true, "commands": N}, N the commands sent to the front app so far
#include "Commands.h"
#include "ServeApps.h"
#include "ServeWeb.h"

#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>
#include <Sim/UserError.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace hbsim {
namespace {

using serve::App;
using serve::Phase;
using serve::ScreenState;
using serve::Springboard;

constexpr int kDefaultPort = 8417;
constexpr const char* kHost = "127.0.0.1";
// How long an event stream waits between looks at whether the server stops.
constexpr std::chrono::milliseconds kStreamTick{200};
// A comment line this often keeps a quiet stream from being taken for dead.
constexpr std::chrono::seconds kStreamKeepAlive{15};
constexpr std::size_t kWorkers = 24;
// Touches beyond this are not on any screen; they are refused.
constexpr double kMaxPoint = 10000;

struct ServeOptions {
    int port = kDefaultPort;
};

std::string base64(const std::string& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v =
            (static_cast<unsigned char>(bytes[i]) << 16) | (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += two ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// The screen in points, as the device's model makes it.
nlohmann::json screenSize(const std::filesystem::path& device) {
    const std::string model = sim::deviceModel(device);
    if (model == "iphone4") return {{"width", 320}, {"height", 480}};
    if (model == "ipad") return {{"width", 768}, {"height", 1024}};
    return {{"width", 320}, {"height", 568}};
}

nlohmann::json stateJSON(const ScreenState& st, const nlohmann::json& screen) {
    nlohmann::json running = nlohmann::json::object();
    for (App app : serve::kApps) running[serve::appKey(app)] = st.running[static_cast<int>(app)];
    return {{"front", st.front ? nlohmann::json(serve::appKey(*st.front)) : nlohmann::json("home")},
            {"running", running},
            {"status", st.status},
            {"screen", screen},
            {"still", st.still}};
}

class Server {
public:
    Server(const Context& context, int port) : port_(port), screen_(screenSize(context.devicePath())) {
        const sim::BuildLayout build = context.build;
        board_ = std::make_unique<Springboard>(
            [build](App app) {
                Springboard::Launch launch{build.program(serve::appProgram(app)), {}};
                // Messages opens on the sample conversation, as hbsim messages shows it.
                if (app == App::Messages) launch.arguments = {"--screen", "transcript"};
                return launch;
            },
            context.devicePath());
        // Each open page holds a worker for its event stream and a browser
        // keeps several connections alive besides, so the pool is larger than
        // the library's default of one worker a core (at least 8).
        http_.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
        routes();
    }

    // Binds the loopback address; false with the reason when it cannot.
    bool bind(std::string& problem) {
        errno = 0;
        if (http_.bind_to_port(kHost, port_)) return true;
        const int error = errno;
        if (error == EADDRINUSE || error == 0)
            problem = "port " + std::to_string(port_) + " on " + kHost +
                      " is in use (stop what uses it, or choose another with --port N)";
        else
            problem = "cannot serve on " + std::string(kHost) + ":" + std::to_string(port_) + ": " +
                      std::strerror(error) + " (choose another port with --port N)";
        return false;
    }

    void start() {
        thread_ = std::thread([this] {
            http_.listen_after_bind();
            listening_ = false;
        });
    }
    bool listening() const { return listening_; }

    // Ends the event streams, the server and then the apps.
    void stop() {
        closing_ = true;
        http_.stop();
        if (thread_.joinable()) thread_.join();
        board_->shutdown();
    }

private:
    void routes() {
        for (const serve::WebFile& file : serve::webFiles()) {
            const std::string path(file.path);
            auto serveFile = [this, file](const httplib::Request& req, httplib::Response& res) {
                if (!fromThisPage(req, res)) return;
                res.set_content(std::string(file.content), std::string(file.contentType).c_str());
                res.set_header("Cache-Control", "no-cache");
            };
            http_.Get(path, serveFile);
            if (path == "/index.html") http_.Get("/", serveFile);
        }
        http_.Get("/events", [this](const httplib::Request& req, httplib::Response& res) { events(req, res); });
        http_.Get("/api/state", [this](const httplib::Request& req, httplib::Response& res) {
            if (!fromThisPage(req, res)) return;
            nlohmann::json body = stateJSON(board_->state(), screen_);
            for (App app : serve::kApps) body["pids"][serve::appKey(app)] = board_->pidOf(app);
            res.set_content(body.dump(), "application/json");
        });
        http_.Get("/frame.png", [this](const httplib::Request& req, httplib::Response& res) {
            if (!fromThisPage(req, res)) return;
            const ScreenState st = board_->state();
            if (!st.frame) return reply(res, 404, "no app is in the front, or it has not drawn yet");
            res.set_content(*st.frame, "image/png");
        });
        http_.Post("/api/open", [this](const httplib::Request& req, httplib::Response& res) {
            nlohmann::json body;
            if (!postFromThisPage(req, res, body)) return;
            const std::optional<App> app =
                body.contains("app") && body["app"].is_string() ? serve::appFromKey(body["app"]) : std::nullopt;
            if (!app) return reply(res, 400, "give {\"app\": \"settings\"} or {\"app\": \"messages\"}");
            try {
                board_->open(*app);
            } catch (const sim::UserError& e) {
                return reply(res, 500, e.what());
            }
            reply(res, 200, "");
        });
        http_.Post("/api/home", [this](const httplib::Request& req, httplib::Response& res) {
            nlohmann::json body;
            if (!postFromThisPage(req, res, body)) return;
            board_->home();
            reply(res, 200, "");
        });
        http_.Post("/api/touch", [this](const httplib::Request& req, httplib::Response& res) {
            nlohmann::json body;
            if (!postFromThisPage(req, res, body)) return;
            std::optional<Phase> phase;
            if (body.contains("phase") && body["phase"].is_string()) {
                const std::string p = body["phase"];
                if (p == "down") phase = Phase::Down;
                if (p == "move") phase = Phase::Move;
                if (p == "up") phase = Phase::Up;
            }
            auto coordinate = [&](const char* key) -> std::optional<double> {
                if (!body.contains(key) || !body[key].is_number()) return std::nullopt;
                const double v = body[key];
                return std::isfinite(v) && std::fabs(v) <= kMaxPoint ? std::optional<double>(v) : std::nullopt;
            };
            const std::optional<double> x = coordinate("x"), y = coordinate("y");
            if (!phase || !x || !y)
                return reply(res, 400,
                             "give {\"phase\": \"down\"|\"move\"|\"up\", \"x\": X, \"y\": Y} in screen points");
            const std::uint64_t commands = board_->touch(*phase, *x, *y);
            res.set_content(nlohmann::json({{"ok", true}, {"commands", commands}}).dump(), "application/json");
        });
    }

    static void reply(httplib::Response& res, int status, const std::string& message) {
        res.status = status;
        nlohmann::json body = {{"ok", status == 200}};
        if (!message.empty()) body["error"] = message;
        res.set_content(body.dump(), "application/json");
    }

    // Only the page itself, at this address, may drive the device: a request
    // whose Host names another name is one a foreign site made resolve to
    // the loopback address, and is refused.
    bool fromThisPage(const httplib::Request& req, httplib::Response& res) const {
        const std::string host = req.get_header_value("Host");
        const std::string port = ":" + std::to_string(port_);
        if (host == kHost + port || host == "localhost" + port || host == "[::1]" + port) return true;
        reply(res, 403, "this server answers requests for " + std::string(kHost) + port + " only");
        return false;
    }

    // A POST must carry JSON: a foreign page cannot send that type without
    // the browser asking first, which this server never allows.
    bool postFromThisPage(const httplib::Request& req, httplib::Response& res, nlohmann::json& body) const {
        if (!fromThisPage(req, res)) return false;
        if (req.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            reply(res, 415, "send the request as application/json");
            return false;
        }
        body = nlohmann::json::parse(req.body.empty() ? std::string("{}") : req.body, nullptr, false);
        if (!body.is_object()) {
            reply(res, 400, "the request body is not a JSON object");
            return false;
        }
        return true;
    }

    // The event stream of one page: the state whenever it changes, and the
    // front app's frames as they come.
    void events(const httplib::Request& req, httplib::Response& res) {
        if (!fromThisPage(req, res)) return;
        struct Stream {
            std::uint64_t version = 0;
            std::string lastState;
            std::optional<App> front;
            std::uint64_t frameSerial = 0;
            std::uint64_t stillAfter = ~std::uint64_t(0);
            std::chrono::steady_clock::time_point lastWrite = std::chrono::steady_clock::now();
        };
        auto stream = std::make_shared<Stream>();
        res.set_header("Cache-Control", "no-cache");
        res.set_header("X-Accel-Buffering", "no");
        res.set_chunked_content_provider("text/event-stream", [this, stream](std::size_t, httplib::DataSink& sink) {
            if (closing_) {
                sink.done();
                return true;
            }
            const ScreenState st = board_->waitForChange(stream->version, kStreamTick);
            if (closing_) {
                sink.done();
                return true;
            }
            std::string out;
            if (stream->version == 0) out += "retry: 1000\n\n";
            stream->version = st.version;
            const std::string state = stateJSON(st, screen_).dump();
            // A page that comes back to an app draws its last frame again.
            if (st.front != stream->front) {
                stream->frameSerial = 0;
                stream->stillAfter = ~std::uint64_t(0);
            }
            stream->front = st.front;
            if (state != stream->lastState) {
                stream->lastState = state;
                out += "event: state\ndata: " + state + "\n\n";
            }
            if (st.frame && st.frameSerial != stream->frameSerial) {
                stream->frameSerial = st.frameSerial;
                out += "event: frame\ndata: " + base64(*st.frame) + "\n\n";
            }
            // After the frame it follows, so a reader that has the still event
            // has the frame the screen rests on.
            if (st.still && st.stillAfter != stream->stillAfter) {
                stream->stillAfter = st.stillAfter;
                out += "event: still\ndata: " + nlohmann::json({{"commands", st.stillAfter}}).dump() + "\n\n";
            }
            const auto now = std::chrono::steady_clock::now();
            if (out.empty() && now - stream->lastWrite > kStreamKeepAlive) out = ": still here\n\n";
            if (out.empty()) return true;
            stream->lastWrite = now;
            return sink.write(out.data(), out.size());
        });
    }

    int port_;
    nlohmann::json screen_;
    std::unique_ptr<Springboard> board_;
    httplib::Server http_;
    std::thread thread_;
    std::atomic<bool> closing_{false};
    std::atomic<bool> listening_{true};
};

int runServe(const Context& context, const ServeOptions& o) {
    sim::requireDevice(context.devicePath());
    if (!sim::hookLibraryInstalled(context.devicePath()) || !sim::bundleInstalled(context.devicePath()))
        throw sim::UserError("Huebloom is not installed in " + context.device +
                             ", so Settings would show no Huebloom pane (run hbsim install --device " + context.device +
                             ")");

    // The stop signals are taken by this thread alone, in order; every thread
    // made from here on (the server's, the apps' readers) leaves them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, s);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // A page or an app that went away shows as a failed write, not a signal.
    ::signal(SIGPIPE, SIG_IGN);

    Server server(context, o.port);
    std::string problem;
    if (!server.bind(problem)) {
        std::fprintf(stderr, "hbsim: %s\n", problem.c_str());
        return 2;
    }
    server.start();
    std::printf("hbsim serve: the device %s is at http://%s:%d/ (Ctrl-C ends it)\n", context.device.c_str(), kHost,
                o.port);
    std::fflush(stdout);

    int signal = 0;
    while (server.listening()) {
        const timespec tick{0, 200'000'000};
        signal = ::sigtimedwait(&stopSignals, nullptr, &tick);
        if (signal > 0) break;
    }
    server.stop();
    std::printf("hbsim serve: ended%s\n", signal > 0 ? "" : " (the server stopped)");
    return signal > 0 ? 0 : 1;
}

}  // namespace

void addServeCommand(CLI::App& app, Context& context) {
    auto o = std::make_shared<ServeOptions>();
    CLI::App* serve = app.add_subcommand("serve", "Show the device's screen in a browser, with the mouse as a finger");
    serve->footer(
        "\nServes one page on 127.0.0.1 (this machine only) that shows the device's screen in a phone\n"
        "frame. A click is a tap, a drag is a drag (the colour field, the sliders); the buttons open\n"
        "Settings and Messages or go home. The apps are the device's own, started when first opened and\n"
        "kept running in the background; when Settings ends Messages (a colour cell runs\n"
        "killall -9 MobileSMS), the page says so and the next open launches it anew with the new\n"
        "colours. Ctrl-C ends the server and the apps. A port in use ends it with status 2.\n"
        "\nExample: hbsim device create && hbsim install && hbsim serve, then open http://127.0.0.1:8417/");
    serve->add_option("--port", o->port, "The port on 127.0.0.1")
        ->type_name("N")
        ->check(CLI::Range(1, 65535))
        ->capture_default_str();
    addDeviceOption(*serve, context);
    serve->callback([&context, o] { context.action = [&context, o] { return runServe(context, *o); }; });
}

}  // namespace hbsim
