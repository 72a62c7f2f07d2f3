#include "Live.h"

#include <CoreGraphics/CGCairo.h>
#include <Device/WriteAll.h>
#include <Foundation/NSRunLoop.h>
#include <ObjCBridge/AutoreleasePool.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIScreenshot.h>

#include <cairo.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace apphost {
namespace {

// A line longer than this is no command; it is dropped rather than letting
// a stream without line ends grow the buffer without bound.
constexpr std::size_t kMaxLineLength = 256;
// Screen points beyond this are no point of any screen; they are refused so
// that a typo never sends a touch to an absurd place.
constexpr double kMaxCoordinate = 100000;
// While timers are pending but the picture stays the same (a timer far in the
// future, say), frames stop after this many unchanged ones, so that such a
// timer does not keep the app painting.
constexpr int kMaxUnchangedFrames = 60;

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || std::fabs(value) > kMaxCoordinate)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

class LiveSession {
public:
    explicit LiveSession(int frameFd) : frameFd_(frameFd) {}
    ~LiveSession() {
        if (frameScheduled_) NS::loop::cancel(frameTimer_);
    }
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    int run() {
        NS::loop::addSource(STDIN_FILENO, [this] { readCommands(); });
        sendFrame(true);
        if (NS::loop::pendingTimers() > 0) {
            requestFrame();
        } else {
            sendStill();
        }
        if (status_ == 0) NS::loop::run();
        NS::loop::removeSource(STDIN_FILENO);
        // A finger still down is lifted while the views it touches are alive.
        finger_.reset();
        return status_;
    }

private:
    void readCommands() {
        char buffer[4096];
        ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (n <= 0) {
            // The driving program has gone or closed the pipe: the app ends.
            NS::loop::removeSource(STDIN_FILENO);
            NS::loop::stop();
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                ++commandsRead_;
                if (!overlong_) command(line_);
                line_.clear();
                overlong_ = false;
            } else if (line_.size() < kMaxLineLength) {
                line_ += c;
            } else {
                overlong_ = true;
            }
        }
        // Commands that changed nothing (or were ignored) asked for no frame:
        // the screen is still after them at once.
        if (!frameScheduled_) sendStill();
    }

    void command(const std::string& line) {
        const std::vector<std::string_view> w = words(line);
        if (w.empty()) return;
        if (w[0] == "frame" && w.size() == 1) {
            forceNext_ = true;
            requestFrame();
            return;
        }
        const bool touch = w[0] == "down" || w[0] == "move" || w[0] == "up";
        std::optional<double> x, y;
        if (touch && w.size() == 3) {
            x = parseNumber(w[1]);
            y = parseNumber(w[2]);
        }
        if (!x || !y) {
            std::fprintf(stderr, "live: ignored the command \"%s\" (down|move|up X Y, or frame)\n", line.c_str());
            return;
        }
        objc::AutoreleasePool pool;
        const CGPoint point = CGPointMake(*x, *y);
        if (w[0] == "down") {
            // A new finger never overlaps a forgotten one: the old touch ends first.
            finger_.reset();
            finger_ = std::make_unique<UI::input::Finger>(point);
        } else if (finger_) {
            finger_->moveTo(point);
            if (w[0] == "up") finger_.reset();
        }
        unchanged_ = 0;
        requestFrame();
    }

    // The next frame, no sooner than the frame rate allows.
    void requestFrame() {
        if (frameScheduled_ || status_ != 0) return;
        const double delay = std::max(0.0, lastFrameAt_ + 1.0 / kMaxFramesPerSecond - NS::loop::now());
        frameScheduled_ = true;
        frameTimer_ = NS::loop::schedule(delay, [this] { frameTick(); });
    }

    void frameTick() {
        frameScheduled_ = false;
        const bool changed = sendFrame(forceNext_);
        forceNext_ = false;
        unchanged_ = changed ? 0 : unchanged_ + 1;
        // One more look after a change, so the last step of a movement is
        // never missed; more while something is under way on the run loop.
        if (changed || (NS::loop::pendingTimers() > 0 && unchanged_ < kMaxUnchangedFrames)) {
            requestFrame();
        } else {
            sendStill();
        }
    }

    // The screen has stopped changing after the commands read so far.
    void sendStill() {
        if (status_ != 0) return;
        const std::string line = "still " + std::to_string(commandsRead_) + "\n";
        if (!device::writeAll(frameFd_, line.data(), line.size())) {
            std::fprintf(stderr, "live: the frame pipe is closed: %s\n", std::strerror(errno));
            status_ = 1;
            NS::loop::stop();
        }
    }

    // Paints the screen; sends it when it differs from the last frame sent
    // (or when forced). Gives whether it was sent.
    bool sendFrame(bool force) {
        objc::AutoreleasePool pool;
        lastFrameAt_ = NS::loop::now();
        CGImageRef image = UI::screenshot::createScreenImage();
        if (image == nullptr) return false;
        // Compared (and kept) even when forced, so that the next frame is
        // measured against the one the driver has.
        const bool same = samePixels(image);
        bool send = force || !same;
        if (send) {
            std::vector<unsigned char> png = CGCairoImageCopyPNGData(image);
            send = !png.empty() && write(png);
        }
        CGImageRelease(image);
        return send;
    }

    // Compares with the last picture and keeps this one.
    bool samePixels(CGImageRef image) {
        cairo_surface_t* surface = CGCairoImageGetSurface(image);
        if (surface == nullptr) return false;
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const std::size_t size = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) *
                                 static_cast<std::size_t>(cairo_image_surface_get_height(surface));
        if (data == nullptr) return false;
        const bool same = last_.size() == size && std::memcmp(last_.data(), data, size) == 0;
        if (!same) last_.assign(data, data + size);
        return same;
    }

    bool write(const std::vector<unsigned char>& png) {
        const std::string header = "frame " + std::to_string(png.size()) + "\n";
        if (!device::writeAll(frameFd_, header.data(), header.size()) ||
            !device::writeAll(frameFd_, png.data(), png.size())) {
            std::fprintf(stderr, "live: the frame pipe is closed: %s\n", std::strerror(errno));
            status_ = 1;
            NS::loop::stop();
            return false;
        }
        return true;
    }

    int frameFd_;
    int status_ = 0;
    std::unique_ptr<UI::input::Finger> finger_;
    std::string line_;
    bool overlong_ = false;
    std::vector<unsigned char> last_;
    double lastFrameAt_ = -std::numeric_limits<double>::infinity();
    bool frameScheduled_ = false;
    bool forceNext_ = false;
    int unchanged_ = 0;
    std::uint64_t commandsRead_ = 0;  // lines, ignored and overlong ones too
    NS::loop::TimerId frameTimer_ = 0;
};

}  // namespace

int runLive() {
    // Frames travel on the original standard output; everything the app or a
    // loaded library prints goes to standard error instead.
    std::fflush(stdout);
    const int frameFd = ::dup(STDOUT_FILENO);
    if (frameFd < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::fprintf(stderr, "live: cannot set up the frame pipe: %s\n", std::strerror(errno));
        return 1;
    }
    // A closed frame pipe is reported by write, not by a signal.
    ::signal(SIGPIPE, SIG_IGN);
    NS::loop::useVirtualClock(false);
    int status = 0;
    {
        LiveSession session(frameFd);
        status = session.run();
    }
    ::close(frameFd);
    return status;
}

}  // namespace apphost
