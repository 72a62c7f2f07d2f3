#include "ScreenDriver.h"

#include "DumpReading.h"
#include "RootListController.h"

// The bundle's public headers: the typed views of its classes and the tags of
// their views. The driver reads the bundle's objects only through the
// messages they answer and the views they show, never their fields.
#include <HBPreviewCell.h>
#include <PFColorCellHB.h>
#include <PFColorViewController.h>

#include <AppHost.h>
#include <Foundation/Foundation.h>
#include <Foundation/NSRunLoop.h>
#include <Preferences/PSListTable.h>
#include <Preferences/PSSpecifier.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/UIAlertView.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIKit.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreenshot.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITextField.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <vector>

namespace settings {
namespace {

using json = nlohmann::json;

std::string stringProperty(PS::Specifier* row, const char* key) {
    if (row == nullptr) return "";
    id value = row->propertyForKey(NS::String::stringWithUTF8String(key));
    return isKind(value, "NSString") ? text(objc::cast<NS::String>(value)) : "";
}

// The first view of the class in the tree, depth first, the root included.
UI::View* findView(UI::View* root, const char* className) {
    if (root == nullptr) return nullptr;
    if (isKind(root, className)) return root;
    NS::Array* children = root->subviews();
    for (NSUInteger i = 0; children != nullptr && i < children->count(); ++i) {
        if (UI::View* found = findView(objc::cast<UI::View>(children->objectAtIndex(i)), className)) return found;
    }
    return nullptr;
}

CGPoint centreOf(UI::View* view) {
    const CGRect b = view->bounds();
    return view->convertPointToView(CGPointMake(b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2),
                                    nullptr);
}

struct Row {
    UI::TableView* table = nullptr;
    NS::IndexPath* path = nullptr;
    UI::TableViewCell* cell = nullptr;
    PS::Specifier* specifier = nullptr;
    std::string section;
    std::string title;
};

std::string kindOf(const Row& row) {
    return isKind(row.cell, "PSTableCell") ? PS::listTable::kindOf(objc::cast<PS::TableCell>(row.cell)) : "cell";
}

// What the row shows as its value: a switch's state, a slider's value, a
// text field's text, or the text at the right of a list or value row.
json valueOf(const Row& row) {
    if (!isKind(row.cell, "PSTableCell")) return nullptr;
    const PS::listTable::ShownValue v = PS::listTable::shownValue(objc::cast<PS::TableCell>(row.cell));
    switch (v.type) {
    case PS::listTable::ShownValue::Type::Boolean: return v.boolean;
    case PS::listTable::ShownValue::Type::Number: return v.number;
    case PS::listTable::ShownValue::Type::Text: return v.text;
    case PS::listTable::ShownValue::Type::None: break;
    }
    return nullptr;
}

UI::View* swatchOf(const Row& row) {
    UI::View* accessory = row.cell != nullptr ? row.cell->accessoryView() : nullptr;
    return accessory != nullptr && accessory->tag() == huebloom::kSwatchTag ? accessory : nullptr;
}

UI::TableView* tableOf(UI::ViewController* controller) {
    if (controller == nullptr || !controller->isViewLoaded()) return nullptr;
    return objc::cast<UI::TableView>(findView(controller->view(), "UITableView"));
}

std::vector<Row> rowsOf(UI::ViewController* controller) {
    std::vector<Row> rows;
    UI::TableView* table = tableOf(controller);
    if (table == nullptr) return rows;
    id source = table->dataSource();
    const SEL headerSel = "tableView:titleForHeaderInSection:"_sel;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        std::string header;
        if (objc::respondsTo(source, headerSel)) header = text(objc::send<NS::String*>(source, headerSel, table, s));
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            Row row;
            row.table = table;
            row.path = NS::IndexPath::indexPathForRow(r, s);
            row.cell = table->cellForRowAtIndexPath(row.path);
            row.section = header;
            if (isKind(row.cell, "PSTableCell")) row.specifier = objc::cast<PS::TableCell>(row.cell)->specifier();
            if (row.specifier != nullptr) row.title = text(row.specifier->name());
            if (row.title.empty() && row.cell != nullptr && row.cell->textLabel() != nullptr)
                row.title = text(row.cell->textLabel()->text());
            rows.push_back(row);
        }
    }
    return rows;
}

bool matches(const Row& row, const RowName& name) {
    switch (name.by) {
    case RowName::By::Title: return row.title == name.value;
    case RowName::By::Key: return stringProperty(row.specifier, "key") == name.value;
    case RowName::By::ColorKey: return stringProperty(row.specifier, "color_key") == name.value;
    }
    return false;
}

// The colour chooser on top, or nullptr when another screen is.
PFColorViewController* chooserOf(UI::ViewController* controller) {
    return isKind(controller, "PFColorViewController") ? objc::cast<PFColorViewController>(controller) : nullptr;
}

// The chooser's sliders by their names in the dump and in the slider step
// (the first three also by their RGB names), found by the tags the chooser
// gives them.
struct ChooserSlider {
    const char* name;
    const char* rgbName;
    NSInteger tag;
};
constexpr ChooserSlider kChooserSliders[] = {{"hue", "red", colorpicker::kHueSliderTag},
                                             {"saturation", "green", colorpicker::kSaturationSliderTag},
                                             {"brightness", "blue", colorpicker::kBrightnessSliderTag},
                                             {"alpha", "alpha", colorpicker::kAlphaSliderTag}};

// A slider of the chooser's view tree, or nullptr before the chooser has
// built its controls.
UI::Slider* chooserSlider(PFColorViewController* chooser, NSInteger tag) {
    UI::View* view = chooser->isViewLoaded() ? chooser->view()->viewWithTag(tag) : nullptr;
    return isKind(view, "UISlider") ? objc::cast<UI::Slider>(view) : nullptr;
}

json chooserState(UI::ViewController* controller) {
    PFColorViewController* chooser = chooserOf(controller);
    if (chooser == nullptr) return nullptr;
    json sliders = json::object();
    for (const ChooserSlider& named : kChooserSliders) {
        UI::Slider* slider = chooserSlider(chooser, named.tag);
        sliders[named.name] = slider != nullptr
                                  ? json{{"value", slider->value()}, {"hidden", static_cast<bool>(slider->isHidden())}}
                                  : json(nullptr);
    }
    // The alpha slider holds the alpha that is saved; the content panel's
    // background is the colour shown.
    UI::Slider* alpha = chooserSlider(chooser, colorpicker::kAlphaSliderTag);
    UI::View* panel = chooser->isViewLoaded() ? findView(chooser->view(), "UIPushedView") : nullptr;
    json state = {{"key", chooser->key() ? json(text(chooser->key())) : json(nullptr)},
                  {"defaults", chooser->defaults() ? json(text(chooser->defaults())) : json(nullptr)},
                  {"usesAlpha", static_cast<bool>(chooser->usesAlpha())},
                  {"usesRGB", static_cast<bool>(chooser->usesRGB())},
                  {"sliders", sliders},
                  {"currentAlpha", alpha != nullptr ? json(alpha->value()) : json(nullptr)},
                  {"background", panel != nullptr ? apphost::colorJSON(panel->backgroundColor()) : json(nullptr)}};
    return state;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

void ScreenDriver::settle(double seconds) {
    // Pushes and pops take 0.35 s, the chooser builds its controls 0.1 s
    // after it appears and fades them in over 0.3 s, rotations take 0.6 s.
    const double slice = 0.05;
    for (double t = 0; t < seconds; t += slice) {
        NS::loop::runFor(slice);
        UI::updateDisplay();
    }
}

std::string ScreenDriver::describeScreen() const {
    std::ostringstream out;
    UI::ViewController* top = navigation_->topViewController();
    out << "the screen shows " << (top ? object_getClassName(objc::asId(top)) : "nothing");
    if (top != nullptr && top->title() != nullptr) out << " " << quoted(text(top->title()));
    if (UI::AlertView* alert = UI::alert::visibleAlert(); alert != nullptr && alert->isVisible()) {
        out << " under an alert " << quoted(text(alert->title())) << " with the buttons";
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
            out << " " << quoted(text(alert->buttonTitleAtIndex(i)));
        return out.str();
    }
    const std::vector<Row> rows = rowsOf(top);
    if (rows.empty()) {
        out << (chooserOf(top) ? ", the colour chooser (use picker, slider, hex, back)" : ", no rows");
        return out.str();
    }
    out << ", rows:";
    for (const Row& row : rows) {
        out << "\n  " << quoted(row.title) << " (" << kindOf(row);
        if (std::string key = stringProperty(row.specifier, "key"); !key.empty()) out << ", key=" << key;
        if (std::string key = stringProperty(row.specifier, "color_key"); !key.empty()) out << ", color_key=" << key;
        out << ")";
    }
    return out.str();
}

json ScreenDriver::screenState() const {
    UI::ViewController* top = navigation_->topViewController();
    json state = json::object();
    state["controller"] = {{"class", top ? object_getClassName(objc::asId(top)) : ""},
                           {"title", top && top->title() ? json(text(top->title())) : json(nullptr)}};
    json titles = json::array();
    NS::Array* stack = navigation_->viewControllers();
    for (NSUInteger i = 0; stack != nullptr && i < stack->count(); ++i)
        titles.push_back(text(objc::cast<UI::ViewController>(stack->objectAtIndex(i))->title()));
    state["navigation"] = titles;
    json rows = json::array();
    for (const Row& row : rowsOf(top)) {
        json r = {{"section", row.section}, {"title", row.title}, {"kind", kindOf(row)}};
        if (std::string key = stringProperty(row.specifier, "key"); !key.empty()) r["key"] = key;
        if (std::string key = stringProperty(row.specifier, "color_key"); !key.empty()) r["color_key"] = key;
        r["value"] = valueOf(row);
        if (row.cell != nullptr && row.cell->accessoryType() == UI::UITableViewCellAccessoryCheckmark)
            r["checked"] = true;
        if (UI::View* swatch = swatchOf(row)) r["swatch"] = apphost::colorJSON(swatch->backgroundColor());
        if (json preview = previewState(row.cell); !preview.is_null()) r["preview"] = preview;
        rows.push_back(r);
    }
    state["rows"] = rows;
    state["chooser"] = chooserState(top);
    if (UI::AlertView* alert = UI::alert::visibleAlert(); alert != nullptr && alert->isVisible()) {
        json buttons = json::array();
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) buttons.push_back(text(alert->buttonTitleAtIndex(i)));
        json a = {{"title", text(alert->title())}, {"message", text(alert->message())}, {"buttons", buttons}};
        if (alert->alertViewStyle() != UI::UIAlertViewStyleDefault)
            a["text"] = text(alert->textFieldAtIndex(0)->text());
        state["alert"] = a;
    } else {
        state["alert"] = nullptr;
    }
    return state;
}

void ScreenDriver::run(const Step& step) {
    switch (step.kind) {
    case Step::Kind::Open: open(step); break;
    case Step::Kind::Back: back(step); break;
    case Step::Kind::Switch: toggle(step); break;
    case Step::Kind::Choose: choose(step); break;
    case Step::Kind::PickerTap:
    case Step::Kind::PickerDrag: picker(step); break;
    case Step::Kind::Slider: slider(step); break;
    case Step::Kind::Hex: hex(step); break;
    case Step::Kind::AlertText: alertText(step); break;
    case Step::Kind::AlertButton: alertButton(step); break;
    case Step::Kind::Rotate: rotate(step); break;
    case Step::Kind::ScrollTop: scrollToTop(step); break;
    case Step::Kind::Wait: settle(step.numbers.at(0)); break;
    case Step::Kind::Screenshot:
    case Step::Kind::Dump: break;  // the app writes these: they need the logs and the files
    }
}

namespace {

[[noreturn]] void fail(const ScreenDriver& driver, const Step&, const std::string& what) {
    throw StepError(what + "; " + driver.describeScreen());
}

void requireNoAlert(const ScreenDriver& driver, const Step& step) {
    if (UI::AlertView* alert = UI::alert::visibleAlert(); alert != nullptr && alert->isVisible())
        fail(driver, step, "an alert covers the screen (answer it with alert button TITLE)");
}

// Brings the row fully on screen and taps it left of its accessory, where
// its title is.
void tapRow(ScreenDriver& driver, const Row& row) {
    row.table->scrollToRowAtIndexPath(row.path, UI::UITableViewScrollPositionMiddle, NO);
    driver.settle(0.05);
    UI::TableViewCell* cell = row.table->cellForRowAtIndexPath(row.path);
    if (cell == nullptr) return;
    const CGRect b = cell->bounds();
    const CGPoint point =
        cell->convertPointToView(CGPointMake(std::min<CGFloat>(b.size.width / 3, 100), b.size.height / 2), nullptr);
    UI::input::tap(point);
}

Row findRow(const ScreenDriver& driver, UI::NavigationController* navigation, const Step& step,
            const std::string& written) {
    requireNoAlert(driver, step);
    const RowName name = parseRowName(written);
    for (const Row& row : rowsOf(navigation->topViewController()))
        if (matches(row, name)) return row;
    fail(driver, step, "no row " + (name.by == RowName::By::Title ? quoted(written) : written) + " on the screen");
}

}  // namespace

void ScreenDriver::open(const Step& step) {
    const Row row = findRow(*this, navigation_, step, step.row);
    tapRow(*this, row);
    settle();
    if (const std::string& failure = lastOpenFailure(); !failure.empty()) {
        const std::string why = failure;
        throw StepError(why);
    }
}

void ScreenDriver::back(const Step& step) {
    requireNoAlert(*this, step);
    UI::View* button = UI::navigationBar::backButton(navigation_->navigationBar());
    if (button == nullptr || navigation_->viewControllers()->count() < 2)
        fail(*this, step, "there is no back button: this is the first screen");
    UI::input::tap(centreOf(button));
    settle();
}

void ScreenDriver::toggle(const Step& step) {
    const Row row = findRow(*this, navigation_, step, step.row);
    row.table->scrollToRowAtIndexPath(row.path, UI::UITableViewScrollPositionMiddle, NO);
    settle(0.05);
    auto* control = objc::cast<UI::Switch>(findView(row.table->cellForRowAtIndexPath(row.path), "UISwitch"));
    if (control == nullptr) fail(*this, step, "the row " + quoted(row.title) + " has no switch");
    if (static_cast<bool>(control->isOn()) != step.on) UI::input::tap(centreOf(control));
    settle();
    if (static_cast<bool>(control->isOn()) != step.on)
        fail(*this, step, "the switch of " + quoted(row.title) + " did not turn " + (step.on ? "on" : "off"));
}

void ScreenDriver::choose(const Step& step) {
    const Row row = findRow(*this, navigation_, step, step.row);
    UI::ViewController* pane = navigation_->topViewController();
    tapRow(*this, row);
    settle();
    UI::ViewController* list = navigation_->topViewController();
    if (list == pane) fail(*this, step, "tapping " + quoted(row.title) + " opened no list of choices");
    std::vector<Row> choices = rowsOf(list);
    auto choice = std::find_if(choices.begin(), choices.end(), [&](const Row& r) { return r.title == step.argument; });
    if (choice == choices.end())
        fail(*this, step, "the list " + quoted(row.title) + " has no choice " + quoted(step.argument));
    tapRow(*this, *choice);
    settle(0.3);
    Step goBack = step;
    back(goBack);
}

void ScreenDriver::picker(const Step& step) {
    requireNoAlert(*this, step);
    PFColorViewController* chooser = chooserOf(navigation_->topViewController());
    if (chooser == nullptr) fail(*this, step, "no colour chooser is open (open a colour row first)");
    PFColorPicker* view = chooser->colorPicker();
    if (view == nullptr || view->window() == nullptr) fail(*this, step, "the chooser's picker is not on screen");
    const std::vector<double>& n = step.numbers;
    const CGPoint from = view->convertPointToView(CGPointMake(n[0], n[1]), nullptr);
    if (step.kind == Step::Kind::PickerTap) {
        UI::input::tap(from);
    } else {
        const CGPoint to = view->convertPointToView(CGPointMake(n[2], n[3]), nullptr);
        UI::input::drag(from, to, n.size() > 4 ? static_cast<int>(n[4]) : 8);
    }
    settle(0.2);
}

void ScreenDriver::slider(const Step& step) {
    requireNoAlert(*this, step);
    PFColorViewController* chooser = chooserOf(navigation_->topViewController());
    if (chooser == nullptr) fail(*this, step, "no colour chooser is open (open a colour row first)");
    const std::string& name = step.argument;
    const auto named = std::find_if(std::begin(kChooserSliders), std::end(kChooserSliders),
                                    [&](const ChooserSlider& s) { return name == s.name || name == s.rgbName; });
    if (named == std::end(kChooserSliders)) fail(*this, step, "the chooser has no " + name + " slider");
    UI::Slider* target = chooserSlider(chooser, named->tag);
    if (target == nullptr || target->isHidden() || target->window() == nullptr)
        fail(
            *this, step,
            "the " + name + " slider is not shown" + (name == "alpha" ? " (this colour row does not edit alpha)" : ""));
    UI::slider::dragToValue(target, static_cast<float>(step.numbers.at(0)));
    settle(0.2);
}

void ScreenDriver::hex(const Step& step) {
    requireNoAlert(*this, step);
    if (chooserOf(navigation_->topViewController()) == nullptr)
        fail(*this, step, "no colour chooser is open (open a colour row first)");
    UI::View* button = UI::navigationBar::rightButton(navigation_->navigationBar());
    if (button == nullptr) fail(*this, step, "the chooser shows no \"#\" button yet");
    UI::input::tap(centreOf(button));
    settle(0.5);
}

void ScreenDriver::alertText(const Step& step) {
    UI::AlertView* alert = UI::alert::visibleAlert();
    if (alert == nullptr || !alert->isVisible()) fail(*this, step, "no alert is shown (the hex step opens one)");
    if (alert->alertViewStyle() == UI::UIAlertViewStyleDefault || !UI::alert::setTextFieldText(step.argument.c_str()))
        fail(*this, step, "the alert has no text field");
}

void ScreenDriver::alertButton(const Step& step) {
    UI::AlertView* alert = UI::alert::visibleAlert();
    if (alert == nullptr || !alert->isVisible()) fail(*this, step, "no alert is shown (the hex step opens one)");
    if (!UI::alert::pressButton(step.argument.c_str()))
        fail(*this, step, "the alert has no button " + quoted(step.argument));
    settle(0.5);
}

// As a tap on the status bar does on the phone: the list goes back to its
// first rows.
void ScreenDriver::scrollToTop(const Step& step) {
    UI::TableView* table = tableOf(navigation_->topViewController());
    if (table == nullptr) fail(*this, step, "there is no list on the screen to scroll");
    table->setContentOffset(CGPointMake(0, -table->contentInset().top), YES);
    settle(0.5);
}

void ScreenDriver::rotate(const Step& step) {
    const bool landscape = step.argument == "landscape";
    UI::orientation::rotate(landscape ? UI::UIInterfaceOrientationLandscapeLeft : UI::UIInterfaceOrientationPortrait);
    settle(1.0);
}

}  // namespace settings
