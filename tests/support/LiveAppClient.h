// An app program of the simulator started with --live, as hbsim serve starts
// it, and its two pipes: commands written one a line to its standard input
// ("down X Y", "move X Y", "up X Y", "frame"), frames read from its standard
// output ("frame N" and N bytes of PNG) with the app's "still N" lines, which
// say that the screen has settled after N command lines. For the live mode's
// tests and the latency benchmark; it needs nothing of GoogleTest.
//
//     LiveAppClient app(bin / "Preferences", device);
//     app.nextFrame();                       // the frame of the launch
//     app.send("down 160 120");
//     app.send("up 160 120");
//     auto frames = app.framesUntilStill();    // every frame until the app says it is still
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class LiveAppClient {
public:
    // Starts the program with --live and the arguments in the device; its
    // standard error goes to `errorFile` (thrown away when empty).
    LiveAppClient(const std::filesystem::path& program, const std::filesystem::path& device,
                  const std::vector<std::string>& arguments = {}, std::filesystem::path errorFile = {});
    // Closes the commands pipe and kills the app if it has not been waited for.
    ~LiveAppClient();
    LiveAppClient(const LiveAppClient&) = delete;
    LiveAppClient& operator=(const LiveAppClient&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Writes the line and its newline; false when the app no longer reads.
    bool send(const std::string& line);
    // Ends the app's input: a live app then ends with status 0.
    void closeInput();

    // The next frame's PNG bytes (passing over "still" lines), or nothing
    // when none comes in time or the output is not a frame.
    std::optional<std::string> nextFrame(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Every frame until the app says the screen is still after every command
    // sent so far; nothing when that does not come in time (a broken app).
    std::optional<std::vector<std::string>> framesUntilStill(
        std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // N of the last "still N" read: the command lines the screen had settled
    // after; sent(): the command lines written so far.
    unsigned long long stillAfter() const { return stillAfter_; }
    unsigned long long sent() const { return sent_; }

    // Waits for the end: the exit status, or 128 + the signal.
    int wait();
    // What the app wrote on standard error so far.
    std::string errors() const;

private:
    bool readSome(std::chrono::steady_clock::time_point deadline);
    std::optional<std::string> next(std::chrono::steady_clock::time_point deadline, bool untilStill, bool& still);

    std::filesystem::path errorFile_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int commands_ = -1;
    int frames_ = -1;
    std::string buffer_;
    unsigned long long sent_ = 0;
    unsigned long long stillAfter_ = 0;
};
