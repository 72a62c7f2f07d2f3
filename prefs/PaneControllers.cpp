#include "PaneControllers.h"

#include "HBPreviewCell.h"

#include <Foundation/Foundation.h>
#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSListController.h>
#include <UIKit/NSIndexPath.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UITableView.h>

namespace huebloom {
namespace {

// Each pane loads its list on the first request for its rows and keeps the
// array (retained) in the base's _specifiers for the life of the pane.
template <const char* List>
NS::Array* specifiers(id self, SEL) {
    id& rows = PS::ListController::specifiersIvar(self);
    if (rows == nil) {
        rows = objc::retain(objc::cast<PS::ListController>(self)->loadSpecifiersFromPlistName(
            NS::String::stringWithUTF8String(List), self));
    }
    return objc::cast<NS::Array>(rows);
}

// The root pane always reads the one settings file, whatever domain a row
// names, and shows the row's "default" for what it does not hold.
id readPreferenceValue(id, SEL, PS::Specifier* row) {
    NS::Dictionary* settings =
        NS::Dictionary::dictionaryWithContentsOfFile("/User/Library/Preferences/com.Quillfen.huebloom.plist"_ns);
    id key = row->propertyForKey("key"_ns);
    id value = settings != nullptr && key != nil ? settings->objectForKey(key) : nil;
    return value != nil ? value : row->propertyForKey("default"_ns);
}

// The sub-panes rebuild their rows before they appear, so that cells read
// their values again when the user comes back from the colour chooser.
void reloadOnAppear(id self, SEL, BOOL) { objc::cast<PS::ListController>(self)->reload(); }

// The root pane redraws its preview row before it appears, so that a
// balloon style chosen on a list or a colour saved in a sub-pane shows when
// the person comes back. Its other rows are left to the base, which places
// them as it always has; only the preview is asked to read the settings
// again.
void redrawPreviewOnAppear(id self, SEL cmd, BOOL animated) {
    objc::sendSuper<void>(self, "HuebloomListController"_cls, cmd, animated);
    UI::TableView* table = objc::cast<PS::ListController>(self)->table();
    if (table == nullptr) return;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            id cell = objc::asId(table->cellForRowAtIndexPath(NS::IndexPath::indexPathForRow(r, s)));
            if (objc::respondsTo(cell, "redrawPreview"_sel)) objc::cast<HBPreviewCell>(cell)->redrawPreview();
        }
    }
}

void open(const char* url) {
    UI::Application* application = UI::Application::sharedApplication();
    if (application != nullptr) application->openURL(NS::URL::URLWithString(NS::String::stringWithUTF8String(url)));
}

void sendMail(id, SEL) { open("mailto:support@huebloom.invalid?subject=HuebloomSupport"); }
void openTwitter(id, SEL) { open("https://social.invalid/huebloom"); }
void pelloryTwitter(id, SEL) { open("https://social.invalid/huebloom_contributor"); }
void donate(id, SEL) {
    open(
        "https://payments.invalid/cgi-bin/webscr?cmd=_donations&business=donations%40huebloom.invalid&lc=US"
        "&item_name=Huebloom%20by%20Quillfen&currency_code=USD&bn=PP%2dDonationsBF%3abtn_donate_SM%2egif%3aNonHosted");
}

constexpr char kRoot[] = "Huebloom";
constexpr char kImessage[] = "imessage";
constexpr char kSms[] = "sms";
constexpr char kGray[] = "gray";
constexpr char kTb[] = "Tb";
constexpr char kBubs[] = "Bubs";
constexpr char kOtherS[] = "OtherS";
constexpr char kSupport[] = "support";

template <const char* List>
void registerSubPane(const char* name) {
    objc::ClassBuilder(name, "PSListController"_cls)
        .method("specifiers", &specifiers<List>)
        .method("viewWillAppear:", &reloadOnAppear)
        .build();
}

}  // namespace

void registerPaneControllers() {
    static const bool registered = [] {
        objc::ClassBuilder("HuebloomListController", objc::cls("PSListController"))
            .method("specifiers", &specifiers<kRoot>)
            .method("readPreferenceValue:", &readPreferenceValue)
            .method("viewWillAppear:", &redrawPreviewOnAppear)
            .build();
        registerSubPane<kImessage>("imessageListController");
        registerSubPane<kSms>("smsListController");
        registerSubPane<kGray>("grayListController");
        registerSubPane<kTb>("TbColorListController");
        registerSubPane<kBubs>("BubblesListController");
        registerSubPane<kOtherS>("OtherSListController");
        objc::ClassBuilder("supportListController", objc::cls("PSListController"))
            .method("specifiers", &specifiers<kSupport>)
            .method("sendMail", &sendMail)
            .method("openTwitter", &openTwitter)
            .method("pelloryTwitter", &pelloryTwitter)
            .method("donate", &donate)
            .build();
        return true;
    }();
    (void)registered;
}

}  // namespace huebloom
