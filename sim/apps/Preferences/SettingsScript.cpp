#include "SettingsScript.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace settings {
namespace {

std::string where(int line) { return line > 0 ? "line " + std::to_string(line) : "step"; }

[[noreturn]] void fail(int line, const std::string& text, const std::string& what) {
    throw ScriptError(where(line) + " \"" + text + "\": " + what);
}

std::vector<std::string> splitWords(const std::string& text, int line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
                word += text[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) fail(line, text, "a quote is not closed");
    if (inWord) words.push_back(word);
    return words;
}

double number(const std::string& word, int line, const std::string& text, const char* what) {
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || end == nullptr || *end != '\0' || !std::isfinite(value))
        fail(line, text, std::string(what) + " must be a number, not \"" + word + "\"");
    return value;
}

void expectCount(const std::vector<std::string>& words, std::size_t least, std::size_t most, int line,
                 const std::string& text, const char* usage) {
    if (words.size() < least || words.size() > most) fail(line, text, std::string("write it as: ") + usage);
}

}  // namespace

RowName parseRowName(const std::string& written) {
    if (written.rfind("color_key=", 0) == 0) return {RowName::By::ColorKey, written.substr(10)};
    if (written.rfind("key=", 0) == 0) return {RowName::By::Key, written.substr(4)};
    return {RowName::By::Title, written};
}

std::optional<Step> parseStep(const std::string& text, int line) {
    const std::vector<std::string> w = splitWords(text, line);
    if (w.empty() || w[0][0] == '#') return std::nullopt;
    Step s{};
    s.text = text;
    s.line = line;
    const std::string& verb = w[0];
    if (verb == "open") {
        expectCount(w, 2, 2, line, text, "open \"Row Title\" (or key=NAME, color_key=NAME)");
        s.kind = Step::Kind::Open;
        s.row = w[1];
    } else if (verb == "back") {
        expectCount(w, 1, 1, line, text, "back");
        s.kind = Step::Kind::Back;
    } else if (verb == "picker" && w.size() > 1 && w[1] == "tap") {
        expectCount(w, 4, 4, line, text, "picker tap X Y");
        s.kind = Step::Kind::PickerTap;
        for (int i = 2; i < 4; ++i) s.numbers.push_back(number(w[i], line, text, "a point"));
    } else if (verb == "picker" && w.size() > 1 && w[1] == "drag") {
        expectCount(w, 6, 7, line, text, "picker drag X1 Y1 X2 Y2 [STEPS]");
        s.kind = Step::Kind::PickerDrag;
        for (std::size_t i = 2; i < w.size(); ++i) s.numbers.push_back(number(w[i], line, text, "a point"));
        if (s.numbers.size() == 5 &&
            (s.numbers[4] < 0 || s.numbers[4] > 1000 || s.numbers[4] != std::floor(s.numbers[4])))
            fail(line, text, "STEPS must be a whole number from 0 to 1000");
    } else if (verb == "picker") {
        fail(line, text, "write it as: picker tap X Y, or picker drag X1 Y1 X2 Y2 [STEPS]");
    } else if (verb == "slider") {
        expectCount(w, 3, 3, line, text, "slider hue|saturation|brightness|alpha VALUE");
        static const char* names[] = {"hue", "saturation", "brightness", "alpha", "red", "green", "blue"};
        bool known = false;
        for (const char* n : names) known = known || w[1] == n;
        if (!known) fail(line, text, "the slider is hue, saturation, brightness or alpha (red, green, blue in RGB)");
        s.kind = Step::Kind::Slider;
        s.argument = w[1];
        s.numbers.push_back(number(w[2], line, text, "the value"));
    } else if (verb == "hex") {
        expectCount(w, 1, 1, line, text, "hex");
        s.kind = Step::Kind::Hex;
    } else if (verb == "alert" && w.size() > 1 && w[1] == "text") {
        expectCount(w, 3, 3, line, text, "alert text \"TEXT\"");
        s.kind = Step::Kind::AlertText;
        s.argument = w[2];
    } else if (verb == "alert" && w.size() > 1 && w[1] == "button") {
        expectCount(w, 3, 3, line, text, "alert button Set|Copy|Close");
        s.kind = Step::Kind::AlertButton;
        s.argument = w[2];
    } else if (verb == "alert") {
        fail(line, text, "write it as: alert text \"TEXT\", or alert button TITLE");
    } else if (verb == "switch") {
        expectCount(w, 3, 3, line, text, "switch \"Row Title\" on|off");
        if (w[2] != "on" && w[2] != "off") fail(line, text, "a switch is turned on or off, not \"" + w[2] + "\"");
        s.kind = Step::Kind::Switch;
        s.row = w[1];
        s.on = w[2] == "on";
    } else if (verb == "choose") {
        expectCount(w, 3, 3, line, text, "choose \"Row Title\" \"Value Title\"");
        s.kind = Step::Kind::Choose;
        s.row = w[1];
        s.argument = w[2];
    } else if (verb == "rotate") {
        expectCount(w, 2, 2, line, text, "rotate landscape|portrait");
        if (w[1] != "landscape" && w[1] != "portrait") fail(line, text, "rotate to landscape or portrait");
        s.kind = Step::Kind::Rotate;
        s.argument = w[1];
    } else if (verb == "scroll") {
        expectCount(w, 2, 2, line, text, "scroll top");
        if (w[1] != "top") fail(line, text, "a list is scrolled back to its top: scroll top");
        s.kind = Step::Kind::ScrollTop;
    } else if (verb == "wait") {
        expectCount(w, 2, 2, line, text, "wait SECONDS");
        s.kind = Step::Kind::Wait;
        const double seconds = number(w[1], line, text, "SECONDS");
        if (seconds < 0 || seconds > 3600) fail(line, text, "wait from 0 to 3600 seconds");
        s.numbers.push_back(seconds);
    } else if (verb == "screenshot") {
        expectCount(w, 2, 2, line, text, "screenshot FILE");
        s.kind = Step::Kind::Screenshot;
        s.argument = w[1];
    } else if (verb == "dump") {
        expectCount(w, 1, 2, line, text, "dump [FILE]");
        s.kind = Step::Kind::Dump;
        if (w.size() == 2) s.argument = w[1];
    } else {
        fail(line, text,
             "unknown step \"" + verb +
                 "\"; the steps are open, back, picker tap, picker drag, slider, hex, alert text, alert button, "
                 "switch, choose, rotate, scroll top, wait, screenshot, dump");
    }
    return s;
}

std::vector<Step> parseScript(const std::string& text) {
    std::vector<Step> steps;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto step = parseStep(line, number)) steps.push_back(std::move(*step));
    }
    return steps;
}

}  // namespace settings
