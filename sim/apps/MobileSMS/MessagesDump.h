// The Messages app's state as one JSON object, for `hbsim messages --dump`
// and the whole-device tests.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace UI {
class Color;
class View;
}  // namespace UI

namespace mobilesms {

struct DumpSources {
    std::vector<std::string> loaded;     // what the hooking platform loaded
    std::string screen;                  // "transcript" or "list"
    id transcriptController = nil;       // its view loaded and laid out, or nil
    UI::View* transcriptView = nullptr;  // a CKTranscriptView, laid out, or null
    bool transcriptOnScreen = false;
};

// loaded; behavior (every CKUIBehavior getter, called once, keyed by
// selector); detailsButtonTint; textBalloon (the look of the transcript's
// first text balloon); hasTail (per balloon, asked through the runtime);
// getRandomColor (sent to a new CKGradientView, null when it does not
// answer); balloons (kind, side, text and frame of each, in screen points
// when the transcript is on screen).
nlohmann::json makeDump(const DumpSources& sources);

}  // namespace mobilesms
