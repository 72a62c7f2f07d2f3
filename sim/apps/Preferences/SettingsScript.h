// The scripts the Settings app runs for `hbsim settings`: one step a line,
// words separated by blanks, a word with blanks in double quotes ("Blue
// Text"; \" and \\ inside quotes stand for themselves), blank lines and lines
// starting with "#" ignored.
//
//   open ROW                      ROW: "Title", key=NAME or color_key=NAME
//   back
//   picker tap X Y                points in the picker view
//   picker drag X1 Y1 X2 Y2 [STEPS]
//   slider hue|saturation|brightness|alpha VALUE   (red|green|blue too)
//   hex
//   alert text TEXT
//   alert button Set|Copy|Close
//   switch ROW on|off
//   choose ROW VALUE-TITLE
//   rotate landscape|portrait
//   scroll top                    back to the top of the list (a tap on the status bar)
//   wait SECONDS
//   screenshot FILE
//   dump [FILE]
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace settings {

struct Step {
    enum class Kind {
        Open,
        Back,
        PickerTap,
        PickerDrag,
        Slider,
        Hex,
        AlertText,
        AlertButton,
        Switch,
        Choose,
        Rotate,
        ScrollTop,
        Wait,
        Screenshot,
        Dump
    };
    Kind kind;
    std::string text;             // the line as written, for messages
    int line = 0;                 // 1-based line of the script; 0 for --step
    std::string row;              // open, switch, choose: the row as written
    std::string argument;         // slider name, alert text or button, choice title, orientation, file
    std::vector<double> numbers;  // picker points and steps, slider value, wait seconds
    bool on = false;              // switch
};

// How a row is named: by its title, or by the key or colour key it edits.
struct RowName {
    enum class By { Title, Key, ColorKey };
    By by = By::Title;
    std::string value;
};
RowName parseRowName(const std::string& written);

// A step that cannot be read; the message says which line and what is wrong.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One step; nothing for a blank or comment line. `line` numbers messages.
std::optional<Step> parseStep(const std::string& text, int line);
// Every step of a script's text, in order.
std::vector<Step> parseScript(const std::string& text);

}  // namespace settings
