// The bundle's own specifier lists, walked as the Settings app walks them:
// from the root list through every row that opens a pane.
#include <Preferences/SpecifierList.h>

#include <ObjCBridge/ObjCBridge.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

const std::string kResources = std::string(HB_SOURCE_DIR) + "/prefs/Resources/";
const std::string kDomain = "com.Quillfen.huebloom";
const std::string kNotification = "com.Quillfen.huebloom/settingschanged";

// The class that opens each list, as the bundle defines them.
const std::map<std::string, std::string> kPaneLists = {
    {"HuebloomListController", "Huebloom"}, {"imessageListController", "imessage"}, {"smsListController", "sms"},
    {"grayListController", "gray"},         {"TbColorListController", "Tb"},        {"BubblesListController", "Bubs"},
    {"OtherSListController", "OtherS"},     {"supportListController", "support"},
};

enum class Kind { Switch, Mode, Number, Colour, OverlayColour };

// Every key the hook library reads, with the kind of row it needs.
std::map<std::string, Kind> expectedKeys() {
    std::map<std::string, Kind> keys = {
        {"enabled", Kind::Switch}, {"pic", Kind::Switch},     {"transparent", Kind::Switch},
        {"tail", Kind::Switch},    {"imessage", Kind::Mode},  {"sms", Kind::Mode},
        {"gray", Kind::Mode},      {"tb_size", Kind::Number}, {"tb_radius", Kind::Number}};
    for (const char* k :
         {"top", "mid", "bot", "topSMS", "midSMS", "botSMS", "topGray", "midGray", "botGray", "background", "appTint",
          "entryField", "entryFieldPost", "entryFieldText", "detail", "border"})
        keys[k] = Kind::Colour;
    for (const char* kind : {"blue", "green", "gray"}) {
        keys[std::string(kind) + "Overlay"] = Kind::OverlayColour;
        for (const char* part : {"Text", "LinkText", "RText", "Send", "Bar"})
            keys[std::string(kind) + part] = Kind::Colour;
    }
    return keys;
}

// What Messages shows for each key while it is unset and Huebloom is on: the
// built-in defaults of the gradient stops and the border, the system's colours
// for the rest (the overlays translucent, as the system draws them). An unset
// row shows these in its swatch and opens its chooser on them.
const std::map<std::string, std::string> kFallbacks = {
    {"top", "#5FC6F4"},
    {"mid", "#3AA8F9"},
    {"bot", "#157EFB"},
    {"topSMS", "#27EC59"},
    {"midSMS", "#24DB54"},
    {"botSMS", "#20CA4F"},
    {"topGray", "#E5E5EA"},
    {"midGray", "#E5E5EA"},
    {"botGray", "#E5E5EA"},
    {"border", "#5FC6F4"},
    {"background", "#FFFFFF"},
    {"appTint", "#007AFF"},
    {"entryField", "#FAFAFA"},
    {"entryFieldPost", "#FFFFFF"},
    {"entryFieldText", "#000000"},
    {"detail", "#007AFF"},
    {"blueOverlay", "#000000:0.100000"},
    {"blueText", "#FFFFFF"},
    {"blueLinkText", "#FFFFFF"},
    {"blueRText", "#007AFF"},
    {"blueSend", "#007AFF"},
    {"blueBar", "#007AFF"},
    {"greenOverlay", "#000000:0.100000"},
    {"greenText", "#FFFFFF"},
    {"greenLinkText", "#FFFFFF"},
    {"greenRText", "#28B54B"},
    {"greenSend", "#4CD964"},
    {"greenBar", "#4CD964"},
    {"grayOverlay", "#000000:0.050000"},
    {"grayText", "#000000"},
    {"grayLinkText", "#0A7AFF"},
    {"grayRText", "#8E8E93"},
    {"graySend", "#8E8E93"},
    {"grayBar", "#8E8E93"},
};

std::string str(id value) {
    if (value == nil || !objc::send<BOOL>(value, "isKindOfClass:"_sel, "NSString"_cls)) return "";
    return objc::cast<NS::String>(value)->UTF8String();
}
bool flag(id value) { return value != nil && objc::send<BOOL>(value, "boolValue"_sel); }

struct Walk {
    std::map<std::string, Kind> found;  // key -> kind of its row
    std::set<std::string> listsSeen;
    std::set<std::string> actions;
    std::vector<std::string> faults;
};

void walk(const std::string& list, Walk& w) {
    if (!w.listsSeen.insert(list).second) return;
    NS::Array* rows = PS::specifiersFromHostFile(kResources + list + ".plist", nil);
    if (rows->count() == 0) w.faults.push_back(list + ": empty or unreadable");
    for (NSUInteger i = 0; i < rows->count(); ++i) {
        auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(i));
        const std::string where = list + " row " + std::to_string(i) + ": ";
        const std::string detail = str(row->propertyForKey("detail"_ns));
        if (row->buttonAction() != nullptr) w.actions.insert(sel_getName(row->buttonAction()));
        if (auto pane = kPaneLists.find(detail); pane != kPaneLists.end()) walk(pane->second, w);

        if (std::string colourKey = str(row->propertyForKey("color_key"_ns)); !colourKey.empty()) {
            if (str(row->propertyForKey("cellClass"_ns)) != "PFColorCellHB")
                w.faults.push_back(where + "not a colour cell");
            if (str(row->propertyForKey("color_defaults"_ns)) != kDomain) w.faults.push_back(where + "wrong domain");
            if (str(row->propertyForKey("color_postNotification"_ns)) != kNotification)
                w.faults.push_back(where + "wrong notification");
            if (str(row->propertyForKey("title"_ns)).empty()) w.faults.push_back(where + "no chooser title");
            auto fallback = kFallbacks.find(colourKey);
            const std::string want = fallback != kFallbacks.end() ? fallback->second : "";
            if (str(row->propertyForKey("color_fallback"_ns)) != want) w.faults.push_back(where + "wrong fallback");
            w.found[colourKey] = flag(row->propertyForKey("usesAlpha"_ns)) ? Kind::OverlayColour : Kind::Colour;
            continue;
        }
        const std::string key = str(row->propertyForKey("key"_ns));
        if (key.empty()) continue;
        if (str(row->propertyForKey("defaults"_ns)) != kDomain) w.faults.push_back(where + "wrong domain");
        switch (row->cellType()) {
        case PS::PSSwitchCell: w.found[key] = Kind::Switch; break;
        case PS::PSSliderCell:
        case PS::PSEditTextCell: w.found[key] = Kind::Number; break;
        case PS::PSLinkListCell: {
            w.found[key] = Kind::Mode;
            const char* titles[] = {"System", "Gradient", "Solid", "Stripes", "Random", "Clear"};
            for (int v = 0; v <= 5; ++v)
                if (objc::cast<NS::String>(row->titleForValue(NS::Number::numberWithInt(v))) == nullptr ||
                    std::string(row->titleForValue(NS::Number::numberWithInt(v))->UTF8String()) != titles[v])
                    w.faults.push_back(where + "mode " + std::to_string(v) + " mistitled");
            break;
        }
        default: w.faults.push_back(where + "row kind cannot edit " + key);
        }
    }
}

class BundleSpecifierListsTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(BundleSpecifierListsTest, EverySettingIsReachableFromTheRootWithTheRightRow) {
    Walk w;
    walk("Huebloom", w);
    for (const std::string& fault : w.faults) ADD_FAILURE() << fault;
    EXPECT_EQ(w.listsSeen.size(), kPaneLists.size()) << "every pane list is reached";
    const auto expected = expectedKeys();
    ASSERT_EQ(expected.size(), 43u);
    for (const auto& [key, kind] : expected) {
        auto it = w.found.find(key);
        if (it == w.found.end())
            ADD_FAILURE() << key << " is not reachable";
        else
            EXPECT_EQ(static_cast<int>(it->second), static_cast<int>(kind)) << key;
    }
    EXPECT_EQ(w.found.size(), expected.size()) << "no row edits a key the hook library does not read";
    for (const auto& [key, fallback] : kFallbacks) EXPECT_TRUE(w.found.count(key)) << key << " has no row";
    EXPECT_EQ(w.actions, (std::set<std::string>{"sendMail", "openTwitter", "pelloryTwitter", "donate"}));
}

}  // namespace
