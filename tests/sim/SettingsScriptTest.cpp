// Reading the Settings app's scripts: what each line becomes and what a
// mistyped line is told.
#include "SettingsScript.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <ostream>
#include <string>

namespace {

using settings::Step;

struct Parsed {
    const char* line;
    Step::Kind kind;
    const char* row;
    const char* argument;
    std::vector<double> numbers;
    bool on;
};

// Printed as the line it reads (letters, digits and ".=-#" kept, everything
// else "_"), not as the struct's bytes: gtest_discover_tests puts the printed
// value into the ctest name, and the bytes (pointers, padding) change from
// one listing to the next.
void PrintTo(const Parsed& p, std::ostream* out) {
    std::string name;
    for (const char* c = p.line; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) || std::strchr(".=-#", *c) ? *c : '_';
    *out << name;
}

class StepParse : public testing::TestWithParam<Parsed> {};

TEST_P(StepParse, ReadsTheLineIntoItsStep) {
    const Parsed& p = GetParam();
    auto step = settings::parseStep(p.line, 7);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->kind, p.kind);
    EXPECT_EQ(step->row, p.row);
    EXPECT_EQ(step->argument, p.argument);
    EXPECT_EQ(step->numbers, p.numbers);
    EXPECT_EQ(step->on, p.on);
    EXPECT_EQ(step->line, 7);
    EXPECT_EQ(step->text, p.line);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, StepParse,
    testing::Values(Parsed{"open \"Blue Text\"", Step::Kind::Open, "Blue Text", "", {}, false},
                    Parsed{"open color_key=blueText", Step::Kind::Open, "color_key=blueText", "", {}, false},
                    Parsed{"  open   Huebloom  ", Step::Kind::Open, "Huebloom", "", {}, false},
                    Parsed{
                        "open \"Say \\\"Hi\\\" \\\\ there\"", Step::Kind::Open, "Say \"Hi\" \\ there", "", {}, false},
                    Parsed{"back", Step::Kind::Back, "", "", {}, false},
                    Parsed{"picker tap 10 20.5", Step::Kind::PickerTap, "", "", {10, 20.5}, false},
                    Parsed{"picker drag 1 2 3 4", Step::Kind::PickerDrag, "", "", {1, 2, 3, 4}, false},
                    Parsed{"picker drag 1 2 3 4 12", Step::Kind::PickerDrag, "", "", {1, 2, 3, 4, 12}, false},
                    Parsed{"slider alpha 0.25", Step::Kind::Slider, "", "alpha", {0.25}, false},
                    Parsed{"slider red 1", Step::Kind::Slider, "", "red", {1}, false},
                    Parsed{"hex", Step::Kind::Hex, "", "", {}, false},
                    Parsed{"alert text \"#FF8000\"", Step::Kind::AlertText, "", "#FF8000", {}, false},
                    Parsed{"alert button Set", Step::Kind::AlertButton, "", "Set", {}, false},
                    Parsed{"switch Enabled on", Step::Kind::Switch, "Enabled", "", {}, true},
                    Parsed{"switch key=enabled off", Step::Kind::Switch, "key=enabled", "", {}, false},
                    Parsed{"choose \"iMessage\" \"Solid\"", Step::Kind::Choose, "iMessage", "Solid", {}, false},
                    Parsed{"rotate landscape", Step::Kind::Rotate, "", "landscape", {}, false},
                    Parsed{"scroll top", Step::Kind::ScrollTop, "", "", {}, false},
                    Parsed{"wait 0.5", Step::Kind::Wait, "", "", {0.5}, false},
                    Parsed{"screenshot \"out dir/a.png\"", Step::Kind::Screenshot, "", "out dir/a.png", {}, false},
                    Parsed{"dump", Step::Kind::Dump, "", "", {}, false},
                    Parsed{"dump state.json", Step::Kind::Dump, "", "state.json", {}, false}));

// Each mistake is named with its line and says what the step should be.
TEST(StepParse, MistakesSayWhichLineAndWhatIsExpected) {
    const std::pair<const char*, const char*> cases[] = {
        {"opne Huebloom", "unknown step \"opne\""},
        {"open", "write it as: open"},
        {"open \"Blue Text", "a quote is not closed"},
        {"picker tap 10", "write it as: picker tap X Y"},
        {"picker tap ten 20", "a point must be a number, not \"ten\""},
        {"picker drag 1 2 3 4 2.5", "STEPS must be a whole number"},
        {"picker poke 1 2", "write it as: picker tap X Y"},
        {"slider hue", "write it as: slider"},
        {"slider glow 0.5", "the slider is hue, saturation, brightness or alpha"},
        {"slider hue nan", "the value must be a number"},
        {"switch Enabled maybe", "turned on or off, not \"maybe\""},
        {"rotate sideways", "rotate to landscape or portrait"},
        {"scroll down", "a list is scrolled back to its top: scroll top"},
        {"scroll", "write it as: scroll top"},
        {"wait -1", "wait from 0 to 3600 seconds"},
        {"alert shout x", "write it as: alert text"},
        {"dump a b", "write it as: dump [FILE]"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        try {
            settings::parseStep(line, 3);
            ADD_FAILURE() << "accepted";
        } catch (const settings::ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("line 3 \"", 0), 0u) << e.what();
        }
    }
}

TEST(ScriptParse, SkipsBlankAndCommentLinesAndNumbersTheRest) {
    const auto steps = settings::parseScript("# turn it on\n\nopen Huebloom\r\n   \nswitch Enabled on\n# done\nback");
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[1].line, 5);
    EXPECT_EQ(steps[2].line, 7);
    EXPECT_EQ(steps[0].row, "Huebloom");
}

TEST(RowNames, NameARowByTitleKeyOrColourKey) {
    EXPECT_EQ(settings::parseRowName("Blue Text").by, settings::RowName::By::Title);
    const auto key = settings::parseRowName("key=enabled");
    EXPECT_EQ(key.by, settings::RowName::By::Key);
    EXPECT_EQ(key.value, "enabled");
    const auto colour = settings::parseRowName("color_key=blueText");
    EXPECT_EQ(colour.by, settings::RowName::By::ColorKey);
    EXPECT_EQ(colour.value, "blueText");
}

}  // namespace
