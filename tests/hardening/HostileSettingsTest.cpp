// Hostile settings files through real launches of both apps: every key with
// the wrong type, empty and digit-less strings, 10,000-character strings,
// NaN and huge numbers, colour strings cut into many pieces, invalid UTF-8,
// binary property lists with a cycle or deep nesting, and files that are no
// dictionary at all. Nothing may crash; every replaced getter of Messages
// gives a colour (or the system's), every swatch in Settings shows one, and
// the chooser opens on a colour.
//
// A value under a colour key that is not a string counts, in both apps, as
// no value saved: Messages falls back as it does for a missing key, the
// swatch and the chooser show the row's fallback colour.
#include "HardeningSupport.h"

#include <plist/plist.h>

#include <cstdint>
#include <functional>
#include <limits>

namespace {

using e2e::Device;
using nlohmann::json;

const std::vector<std::string> kSwitchKeys = {"enabled", "pic", "transparent", "tail"};
const std::vector<std::string> kIntegerKeys = {"imessage", "sms", "gray", "tb_size", "tb_radius"};

std::vector<std::string> colourKeys() {
    std::vector<std::string> keys = {
        "top",     "mid",        "bot",     "topSMS",     "midSMS",         "botSMS",         "topGray", "midGray",
        "botGray", "background", "appTint", "entryField", "entryFieldPost", "entryFieldText", "detail",  "border"};
    for (const char* kind : {"blue", "green", "gray"})
        for (const char* part : {"Overlay", "Text", "LinkText", "RText", "Send", "Bar"})
            keys.push_back(std::string(kind) + part);
    return keys;
}

// A property list built with libplist and written in either format.
class Plist {
public:
    Plist() : root_(plist_new_dict()) {}
    ~Plist() { plist_free(root_); }
    Plist(const Plist&) = delete;
    Plist& operator=(const Plist&) = delete;

    void set(const std::string& key, plist_t value) { plist_dict_set_item(root_, key.c_str(), value); }
    void setAll(const std::vector<std::string>& keys, const std::function<plist_t(std::size_t)>& value) {
        for (std::size_t i = 0; i < keys.size(); ++i) set(keys[i], value(i));
    }
    std::string binary() const { return out(true); }
    std::string xml() const { return out(false); }

private:
    std::string out(bool binary) const {
        char* data = nullptr;
        std::uint32_t length = 0;
        if (binary)
            plist_to_bin(root_, &data, &length);
        else
            plist_to_xml(root_, &data, &length);
        std::string bytes(data != nullptr ? data : "", length);
        std::free(data);
        return bytes;
    }
    plist_t root_;
};

plist_t str(const std::string& s) { return plist_new_string(s.c_str()); }

// A binary property list written by hand, for what no writer makes: objects
// given as their encoded bytes, references of two bytes, offsets of four.
std::string handBinaryPlist(const std::vector<std::string>& objects, std::uint64_t top = 0) {
    std::string out = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out += object;
    }
    const std::uint64_t tableOffset = out.size();
    for (std::uint32_t o : offsets)
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((o >> shift) & 0xFF);
    auto be64 = [&](std::uint64_t v) {
        for (int shift = 56; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
    };
    out += std::string(6, '\0');
    out += static_cast<char>(4);  // offset size
    out += static_cast<char>(2);  // reference size
    be64(objects.size());
    be64(top);
    be64(tableOffset);
    return out;
}

std::string ref(std::uint16_t r) { return {static_cast<char>(r >> 8), static_cast<char>(r & 0xFF)}; }
std::string ascii(const std::string& s) { return static_cast<char>(0x50 | s.size()) + s; }  // up to 14 bytes

// {enabled: true, blueText: A, blueOverlay: A} where the array A holds itself.
std::string cyclicBinaryPlist() {
    return handBinaryPlist({"\xD3" + ref(1) + ref(2) + ref(3) + ref(4) + ref(5) + ref(5), ascii("enabled"),
                            ascii("blueText"), ascii("blueOverlay"), "\x09", "\xA1" + ref(5)});
}

// {enabled: true, blueText: [[[...]]]} nested `depth` arrays deep.
std::string deepBinaryPlist(int depth) {
    std::vector<std::string> objects = {"\xD2" + ref(1) + ref(2) + ref(3) + ref(4), ascii("enabled"), ascii("blueText"),
                                        "\x09"};
    for (int i = 0; i < depth; ++i) {
        const auto next = static_cast<std::uint16_t>(objects.size() + 1);
        objects.push_back(i + 1 < depth ? "\xA1" + ref(next) : std::string("\xA0"));
    }
    return handBinaryPlist(objects);
}

// {enabled: true, blueText: S, topGray: S} with S an ASCII-marked string of
// bytes that are not ASCII, nor UTF-8.
std::string invalidUtf8BinaryPlist() {
    return handBinaryPlist({"\xD3" + ref(1) + ref(2) + ref(3) + ref(4) + ref(5) + ref(5), ascii("enabled"),
                            ascii("blueText"), ascii("topGray"), "\x09", ascii("#\xFF\xFE\xC3(")});
}

std::string xmlPlist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

struct HostileFile {
    std::string name;
    std::string bytes;    // the settings file's bytes
    bool folder = false;  // a folder stands where the file should be
};

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files;
    const auto colours = colourKeys();
    std::vector<std::string> all = colours;
    all.insert(all.end(), kSwitchKeys.begin(), kSwitchKeys.end());
    all.insert(all.end(), kIntegerKeys.begin(), kIntegerKeys.end());

    {
        Plist p;  // every key the type another key wants
        p.setAll(colours, [](std::size_t i) { return i % 2 ? plist_new_uint(0xFF0000) : plist_new_bool(1); });
        p.setAll(kSwitchKeys, [](std::size_t) { return str("#FF0000"); });
        p.setAll(kIntegerKeys, [](std::size_t i) { return i % 2 ? str("#00FF00:0.5") : plist_new_array(); });
        p.set("enabled", plist_new_uint(1));
        files.push_back({"every key of another key's type", p.binary()});
    }
    {
        Plist p;
        p.setAll(all, [](std::size_t) { return str(""); });
        files.push_back({"empty strings everywhere", p.xml()});
    }
    {
        Plist p;
        const char* digitless[] = {"#", "#zzzzzz", "hello", ":", "#:", " ", "#-", "\t#"};
        p.setAll(all, [&](std::size_t i) { return str(digitless[i % 8]); });
        p.set("enabled", plist_new_bool(1));
        files.push_back({"strings with no digits", p.binary()});
    }
    {
        Plist p;
        const std::string longOnes[] = {"#" + std::string(9999, 'F'), "#FF0000:" + std::string(9992, '9'),
                                        std::string(10000, ':'), "#" + std::string(9999, '0'), std::string(10000, 'x')};
        p.setAll(all, [&](std::size_t i) { return str(longOnes[i % 5]); });
        p.set("enabled", plist_new_bool(1));
        files.push_back({"10,000-character strings", p.xml()});
    }
    {
        Plist p;
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        p.set("enabled", plist_new_bool(1));
        p.set("imessage", plist_new_real(nan));
        p.set("sms", plist_new_real(1e308));
        p.set("gray", plist_new_uint(std::numeric_limits<std::uint64_t>::max()));
        p.set("tb_size", plist_new_real(inf));
        p.set("tb_radius", plist_new_real(-1e300));
        p.set("transparent", plist_new_bool(1));
        p.set("pic", plist_new_real(nan));
        p.set("tail", plist_new_real(-inf));
        files.push_back({"NaN and huge numbers (binary)", p.binary()});
    }
    files.push_back({"extreme integers (XML)", xmlPlist("<dict><key>enabled</key><true/><key>transparent</key><true/>"
                                                        "<key>imessage</key><integer>-9223372036854775808</integer>"
                                                        "<key>sms</key><integer>9223372036854775807</integer>"
                                                        "<key>gray</key><integer>99999999999999999999999999</integer>"
                                                        "<key>tb_size</key><real>1e19</real>"
                                                        "<key>tb_radius</key><real>nan</real>"
                                                        "<key>tail</key><integer>-1</integer></dict>")});
    {
        Plist p;
        std::string many = "#FF0000";
        for (int i = 0; i < 3000; ++i) many += ":0.5";
        const std::string pieces[] = {
            many, "#00FF00:::::", ":0.5", "#0000FF:nan", "#FFFF00:inf", "#FF00FF:-7", "#00FFFF:1e999", "#123456:0x10",
            ":"};
        p.setAll(colours, [&](std::size_t i) { return str(pieces[i % 9]); });
        p.set("enabled", plist_new_bool(1));
        p.set("imessage", plist_new_uint(2));
        files.push_back({"colour strings of many pieces and wild alphas", p.binary()});
    }
    files.push_back({"invalid UTF-8 in a binary list", invalidUtf8BinaryPlist()});
    files.push_back({"invalid UTF-8 in an XML list",
                     xmlPlist("<dict><key>enabled</key><true/><key>blueText</key><string>#\xFF\xFE</string>"
                              "<key>bl\xC3\x28ueBar</key><string>#FF0000</string>"
                              "<key>topGray</key><string>\xED\xA0\x80</string></dict>")});
    files.push_back({"a binary list with a cycle", cyclicBinaryPlist()});
    files.push_back({"a binary list nested 20,000 deep", deepBinaryPlist(20000)});
    {
        std::string deep;
        for (int i = 0; i < 50000; ++i) deep += "<array>";
        for (int i = 0; i < 50000; ++i) deep += "</array>";
        files.push_back({"an XML list nested 50,000 deep",
                         xmlPlist("<dict><key>enabled</key><true/><key>blueText</key>" + deep + "</dict>")});
    }
    files.push_back({"an array at the root", xmlPlist("<array><string>#FF0000</string><true/></array>")});
    {
        Plist p;
        p.setAll(all, [](std::size_t) { return str("#FF0000"); });
        const std::string whole = p.binary();
        files.push_back({"a binary list cut in half", whole.substr(0, whole.size() / 2)});
    }
    files.push_back({"an empty file", ""});
    {
        std::string noise;
        std::uint32_t x = 2463534242u;
        for (int i = 0; i < 4096; ++i) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            noise += static_cast<char>(x & 0xFF);
        }
        files.push_back({"random bytes", noise});
        files.push_back({"random bytes after a binary header", "bplist00" + noise});
    }
    files.push_back({"a folder where the file should be", "", true});
    return files;
}

const std::vector<std::string> kColourPanes = {"iMessage Balloons",    "SMS Balloons",   "Received Balloons",
                                               "Transparent Balloons", "Tails & Photos", "Other Colours"};

// Settings through every pane, dumping each, and into two choosers (one with
// alpha); gives the dumps in order.
std::vector<json> walkSettings(const Device& device, const std::string& name) {
    std::vector<std::string> steps = {"open Huebloom", "dump " + (device.path() / "pane-root.json").string()};
    std::vector<std::filesystem::path> dumps = {device.path() / "pane-root.json"};
    for (std::size_t i = 0; i < kColourPanes.size(); ++i) {
        const auto file = device.path() / ("pane-" + std::to_string(i) + ".json");
        steps.insert(steps.end(), {"open \"" + kColourPanes[i] + "\"", "dump " + file.string(), "back"});
        dumps.push_back(file);
    }
    for (const char* key : {"blueOverlay", "blueText"}) {
        const auto file = device.path() / (std::string("chooser-") + key + ".json");
        steps.insert(steps.end(), {"open \"iMessage Balloons\"", std::string("open color_key=") + key,
                                   "dump " + file.string(), "back", "back"});
        dumps.push_back(file);
    }
    const auto script = hardening::writeScript(device, "walk", steps);
    e2e::RunResult r = device.hbsim({"settings", "--script", script.string()});
    EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
    std::vector<json> out;
    for (const auto& file : dumps) {
        std::ifstream in(file);
        json dump = json::parse(in, nullptr, false);
        EXPECT_TRUE(dump.is_object()) << name << ": no dump " << file;
        out.push_back(dump.is_object() ? dump : json::object());
    }
    return out;
}

void expectSettingsShowColours(const std::vector<json>& dumps, const std::string& name) {
    for (const json& dump : dumps) {
        for (const json& row : dump.value("rows", json::array())) {
            if (!row.contains("color_key")) continue;
            EXPECT_TRUE(hardening::isColour(row["swatch"]))
                << name << ": swatch of " << row["color_key"] << " is " << row["swatch"];
        }
        if (dump.contains("chooser") && !dump["chooser"].is_null()) {
            const json& chooser = dump["chooser"];
            EXPECT_TRUE(hardening::isColour(chooser["background"])) << name << ": chooser " << chooser.dump();
            const double alpha = chooser.value("currentAlpha", -1.0);
            EXPECT_TRUE(alpha >= 0 && alpha <= 1) << name << ": currentAlpha " << chooser["currentAlpha"];
            for (const auto& [slider, state] : chooser["sliders"].items()) {
                if (state.is_null()) continue;
                const double v = state["value"].is_number() ? state["value"].get<double>() : -1;
                EXPECT_TRUE(v >= 0 && v <= 1) << name << ": slider " << slider << " at " << state["value"];
            }
        }
    }
}

class HostileSettings : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the deliverables are not built in this build";
    }
    static void plant(const Device& device, const HostileFile& file) {
        const auto path = device / "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
        std::filesystem::remove_all(path);
        if (file.folder) {
            std::filesystem::create_directories(path);
            return;
        }
        std::ofstream(path, std::ios::binary) << file.bytes;
    }
};

TEST_F(HostileSettings, NeitherAppCrashesAndEveryColourIsAColour) {
    Device device;
    for (const HostileFile& file : hostileFiles()) {
        SCOPED_TRACE(file.name);
        plant(device, file);
        auto [dump, shot] = device.messagesDumpAndScreenshot();
        ASSERT_TRUE(dump.is_object()) << file.name;
        EXPECT_TRUE(shot.valid());
        for (const std::string& fault : hardening::badBehaviourColours(dump)) ADD_FAILURE() << fault;
        EXPECT_TRUE(dump["getRandomColor"].is_null() || hardening::isColour(dump["getRandomColor"]));

        plant(device, file);  // as it was: Settings reads the file the hostile way too
        expectSettingsShowColours(walkSettings(device, file.name), file.name);
    }
}

// The same colours as a file without the colour keys, in both apps, for
// every kind of value that is not a string.
TEST_F(HostileSettings, AValueUnderAColourKeyThatIsNotAStringCountsAsNoneSaved) {
    Device device;
    auto colourGetters = [](const json& dump) {
        json out = json::object();
        for (const auto& [getter, value] : dump["behavior"].items())
            if (getter.find("Color") != std::string::npos) out[getter] = value;
        return out;
    };
    auto swatches = [](const std::vector<json>& dumps) {
        json out = json::object();
        for (const json& dump : dumps)
            for (const json& row : dump.value("rows", json::array()))
                if (row.contains("color_key")) out[row["color_key"].get<std::string>()] = row["swatch"];
        for (const json& dump : dumps)
            if (dump.contains("chooser") && !dump["chooser"].is_null())
                out["chooser " + dump["chooser"]["key"].get<std::string>()] = dump["chooser"]["background"];
        return out;
    };
    device.writeSettings({{"enabled", true}, {"transparent", true}});
    const json expectedGetters = colourGetters(device.messagesDump());
    device.writeSettings({{"enabled", true}, {"transparent", true}});
    const json expectedSwatches = swatches(walkSettings(device, "no colour keys"));
    ASSERT_FALSE(expectedSwatches.empty());

    const std::vector<std::pair<std::string, std::function<plist_t()>>> kinds = {
        {"integer", [] { return plist_new_uint(0xFF0000); }},
        {"real", [] { return plist_new_real(0.5); }},
        {"Boolean", [] { return plist_new_bool(1); }},
        {"array",
         [] {
             plist_t a = plist_new_array();
             plist_array_append_item(a, str("#FF0000"));
             return a;
         }},
        {"dictionary",
         [] {
             plist_t d = plist_new_dict();
             plist_dict_set_item(d, "blueText", str("#FF0000"));
             return d;
         }},
        {"data", [] { return plist_new_data("#FF0000", 7); }},
        {"date", [] { return plist_new_date(1000, 0); }},
    };
    for (const auto& [kind, make] : kinds) {
        SCOPED_TRACE(kind);
        Plist p;
        p.set("enabled", plist_new_bool(1));
        p.set("transparent", plist_new_bool(1));
        p.setAll(colourKeys(), [&](std::size_t) { return make(); });
        plant(device, {kind, p.binary()});
        EXPECT_EQ(colourGetters(device.messagesDump()), expectedGetters);
        plant(device, {kind, p.binary()});
        EXPECT_EQ(swatches(walkSettings(device, kind)), expectedSwatches);
    }
}

}  // namespace
