#include <UIKit/UIAlertView.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIInput.h>
#include <UIKit/UIWindow.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <vector>

namespace UI {
namespace {

struct AlertState {
    id title = nil;                // retained copy
    id message = nil;              // retained copy
    id delegate = nil;             // not retained
    std::vector<id> buttonTitles;  // each a retained copy
    NSInteger cancelIndex = -1;
    UIAlertViewStyle style = UIAlertViewStyleDefault;
    std::vector<id> textFields;  // each retained
    std::vector<id> buttons;     // the button views while shown, retained
    std::vector<id> labels;      // retained while shown
    id overlay = nil;            // the dimmed view while shown, retained
    ~AlertState() {
        objc::release(title);
        objc::release(message);
        for (id v : buttonTitles) objc::release(v);
        for (id v : textFields) objc::release(v);
        for (id v : buttons) objc::release(v);
        for (id v : labels) objc::release(v);
        objc::release(overlay);
    }
};

AlertState& stateOf(id self) { return objc::state<AlertState>(self); }

// The alerts on screen, oldest first; each is kept by its overlay.
std::vector<id>& shownAlerts() {
    static std::vector<id> alerts;
    return alerts;
}

void tell(id self, SEL callback) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self);
}

void tellIndex(id self, SEL callback, NSInteger index) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self, index);
}

NSInteger addButtonWithTitle(id self, SEL, id title) {
    auto& titles = stateOf(self).buttonTitles;
    titles.push_back(objc::send<id>(title != nil ? title : objc::asId(""_ns), "copy"_sel));
    return static_cast<NSInteger>(titles.size()) - 1;
}

id commonInit(id self, id title, id message, id delegate, id cancel) {
    self = objc::sendSuper<id>(self, "UIAlertView"_cls, "initWithFrame:"_sel, CGRectZero);
    if (self == nil) return nil;
    AlertState& s = stateOf(self);
    s.title = objc::send<id>(title, "copy"_sel);
    s.message = objc::send<id>(message, "copy"_sel);
    s.delegate = delegate;
    if (cancel != nil) s.cancelIndex = addButtonWithTitle(self, nullptr, cancel);
    objc::send<void>(self, "setBackgroundColor:"_sel, objc::asId(Color::whiteColor()));
    id layer = objc::send<id>(self, "layer"_sel);
    objc::send<void>(layer, "setCornerRadius:"_sel, metrics::kAlertCornerRadius);
    objc::send<void>(self, "setClipsToBounds:"_sel, YES);
    return self;
}

// The phone's initialiser: the other titles follow as C variable arguments,
// ended by nil.
id initWithTitle(id self, SEL, id title, id message, id delegate, id cancel, id firstOther, ...) {
    self = commonInit(self, title, message, delegate, cancel);
    if (self == nil || firstOther == nil) return self;
    addButtonWithTitle(self, nullptr, firstOther);
    va_list others;
    va_start(others, firstOther);
    while (id other = va_arg(others, id)) addButtonWithTitle(self, nullptr, other);
    va_end(others);
    return self;
}

id initWithFrame(id self, SEL, CGRect) { return commonInit(self, nil, nil, nil, nil); }

id buttonTitleAtIndex(id self, SEL, NSInteger index) {
    const auto& titles = stateOf(self).buttonTitles;
    if (index < 0 || static_cast<std::size_t>(index) >= titles.size()) return nil;
    return titles[static_cast<std::size_t>(index)];
}
NSInteger numberOfButtons(id self, SEL) { return static_cast<NSInteger>(stateOf(self).buttonTitles.size()); }
NSInteger cancelButtonIndex(id self, SEL) { return stateOf(self).cancelIndex; }
void setCancelButtonIndex(id self, SEL, NSInteger index) { stateOf(self).cancelIndex = index; }
NSInteger firstOtherButtonIndex(id self, SEL) {
    const AlertState& s = stateOf(self);
    for (NSInteger i = 0; i < static_cast<NSInteger>(s.buttonTitles.size()); ++i) {
        if (i != s.cancelIndex) return i;
    }
    return -1;
}
id title(id self, SEL) { return stateOf(self).title; }
id message(id self, SEL) { return stateOf(self).message; }
id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) { stateOf(self).delegate = d; }
BOOL isVisible(id self, SEL) { return stateOf(self).overlay != nil ? YES : NO; }

std::size_t fieldCount(UIAlertViewStyle style) {
    switch (style) {
    case UIAlertViewStyleSecureTextInput:
    case UIAlertViewStylePlainTextInput: return 1;
    case UIAlertViewStyleLoginAndPasswordInput: return 2;
    default: return 0;
    }
}

UIAlertViewStyle alertViewStyle(id self, SEL) { return stateOf(self).style; }
void setAlertViewStyle(id self, SEL, UIAlertViewStyle style) {
    AlertState& s = stateOf(self);
    s.style = style;
    const std::size_t wanted = fieldCount(style);
    while (s.textFields.size() > wanted) {
        objc::send<void>(s.textFields.back(), "removeFromSuperview"_sel);
        objc::release(s.textFields.back());
        s.textFields.pop_back();
    }
    while (s.textFields.size() < wanted) {
        id field = objc::send<id>(objc::send<id>("UITextField"_cls, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
        objc::send<void>(field, "setBorderStyle:"_sel, UITextBorderStyleRoundedRect);
        objc::send<void>(field, "setFont:"_sel, detail::systemFont(13, false));
        s.textFields.push_back(field);
    }
}

id textFieldAtIndex(id self, SEL, NSInteger index) {
    const auto& fields = stateOf(self).textFields;
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size()) {
        objc::fatal("-[UIAlertView textFieldAtIndex:] index %ld is beyond the alert's %zu text fields",
                    static_cast<long>(index), fields.size());
    }
    return fields[static_cast<std::size_t>(index)];
}

// --- showing ------------------------------------------------------------------

id makeLabel(id text, CGFloat size, bool bold, CGFloat width) {
    auto* label = Label::alloc()->initWithFrame(CGRectZero);
    label->setText(objc::cast<NS::String>(text));
    label->setFont(objc::cast<Font>(detail::systemFont(size, bold)));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setNumberOfLines(0);
    CGSize fit = label->sizeThatFits(CGSizeMake(width, 10000));
    label->setFrame(CGRectMake(0, 0, width, fit.height));
    return objc::asId(label);
}

void addLine(id self, CGRect frame) {
    id line = objc::retain(detail::solidView(frame, detail::color(metrics::kAlertSeparator)));
    stateOf(self).labels.push_back(line);
    objc::send<void>(self, "addSubview:"_sel, line);
}

id makeButton(id self, NSInteger index) {
    AlertState& s = stateOf(self);
    id button = objc::retain(objc::asId(Button::buttonWithType(UIButtonTypeSystem)));
    objc::send<void>(button, "setTitle:forState:"_sel, s.buttonTitles[static_cast<std::size_t>(index)],
                     UIControlStateNormal);
    id label = objc::send<id>(button, "titleLabel"_sel);
    objc::send<void>(label, "setFont:"_sel, detail::systemFont(17, index == s.cancelIndex));
    objc::send<void>(button, "setTag:"_sel, index);
    objc::send<void>(button, "addTarget:action:forControlEvents:"_sel, self, "_buttonTapped:"_sel,
                     UIControlEventTouchUpInside);
    return button;
}

// Builds the panel's contents from the top: title, message, text fields,
// then the buttons with hairlines between them.
void buildPanel(id self, CGRect area) {
    AlertState& s = stateOf(self);
    const CGFloat W = metrics::kAlertWidth, inner = W - 32;
    CGFloat y = 19;
    if (s.title != nil) {
        id label = makeLabel(s.title, metrics::kAlertTitleSize, true, inner);
        CGRect f = objc::send<CGRect>(label, "frame"_sel);
        objc::send<void>(label, "setFrame:"_sel, CGRectMake(16, y, inner, f.size.height));
        s.labels.push_back(label);
        objc::send<void>(self, "addSubview:"_sel, label);
        y += f.size.height;
    }
    if (s.message != nil) {
        if (s.title != nil) y += 4;
        id label = makeLabel(s.message, metrics::kAlertMessageSize, false, inner);
        CGRect f = objc::send<CGRect>(label, "frame"_sel);
        objc::send<void>(label, "setFrame:"_sel, CGRectMake(16, y, inner, f.size.height));
        s.labels.push_back(label);
        objc::send<void>(self, "addSubview:"_sel, label);
        y += f.size.height;
    }
    if (!s.textFields.empty()) {
        y += 12;
        for (id field : s.textFields) {
            objc::send<void>(field, "setFrame:"_sel, CGRectMake(16, y, inner, metrics::kAlertFieldHeight));
            objc::send<void>(self, "addSubview:"_sel, field);
            y += metrics::kAlertFieldHeight;
        }
        y += 16;
    } else {
        y += 19;
    }

    // Button order on screen: side by side for two (cancel at the left),
    // else stacked with cancel at the bottom.
    const NSInteger n = static_cast<NSInteger>(s.buttonTitles.size());
    std::vector<NSInteger> order;
    if (s.cancelIndex >= 0 && n == 2) order.push_back(s.cancelIndex);
    for (NSInteger i = 0; i < n; ++i) {
        if (i != s.cancelIndex) order.push_back(i);
    }
    if (s.cancelIndex >= 0 && s.cancelIndex < n && n != 2) order.push_back(s.cancelIndex);
    const CGFloat hairline = 0.5, h = metrics::kAlertButtonHeight;
    if (n == 2) {
        addLine(self, CGRectMake(0, y, W, hairline));
        for (std::size_t k = 0; k < order.size(); ++k) {
            id button = makeButton(self, order[k]);
            objc::send<void>(button, "setFrame:"_sel, CGRectMake(k * W / 2, y, W / 2, h));
            s.buttons.push_back(button);
            objc::send<void>(self, "addSubview:"_sel, button);
        }
        addLine(self, CGRectMake(W / 2, y, hairline, h));
        y += h;
    } else {
        for (NSInteger index : order) {
            addLine(self, CGRectMake(0, y, W, hairline));
            id button = makeButton(self, index);
            objc::send<void>(button, "setFrame:"_sel, CGRectMake(0, y, W, h));
            s.buttons.push_back(button);
            objc::send<void>(self, "addSubview:"_sel, button);
            y += h;
        }
    }
    objc::send<void>(self, "setFrame:"_sel,
                     CGRectMake(std::round(area.origin.x + (area.size.width - W) / 2),
                                std::round(area.origin.y + (area.size.height - y) / 2), W, y));
}

id hostWindow() {
    if (Window* key = Application::sharedApplication()->keyWindow()) return objc::asId(key);
    auto windows = application::visibleWindows();
    return windows.empty() ? nil : objc::asId(windows.back());
}

void show(id self, SEL) {
    AlertState& s = stateOf(self);
    if (s.overlay != nil) return;
    id window = hostWindow();
    if (window == nil) return;
    CGRect area = objc::send<CGRect>(window, "bounds"_sel);
    tell(self, "willPresentAlertView:"_sel);
    s.overlay = objc::send<id>(objc::send<id>("UIView"_cls, "alloc"_sel), "initWithFrame:"_sel, area);
    objc::send<void>(s.overlay, "setBackgroundColor:"_sel,
                     objc::asId(Color::colorWithWhite(0, metrics::kAlertDimAlpha)));
    buildPanel(self, area);
    objc::send<void>(s.overlay, "addSubview:"_sel, self);
    objc::send<void>(window, "addSubview:"_sel, s.overlay);
    shownAlerts().push_back(self);
    if (!s.textFields.empty()) objc::send<BOOL>(s.textFields.front(), "becomeFirstResponder"_sel);
    tell(self, "didPresentAlertView:"_sel);
}

void dismiss(id self, SEL, NSInteger index, BOOL) {
    AlertState& s = stateOf(self);
    if (s.overlay == nil) return;
    Ref<NS::Object> keep(objc::cast<NS::Object>(self));
    tellIndex(self, "alertView:willDismissWithButtonIndex:"_sel, index);
    for (id field : s.textFields) objc::send<BOOL>(field, "resignFirstResponder"_sel);
    auto& alerts = shownAlerts();
    alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
    for (id b : s.buttons) {
        objc::send<void>(b, "removeFromSuperview"_sel);
        objc::release(b);
    }
    s.buttons.clear();
    for (id l : s.labels) {
        objc::send<void>(l, "removeFromSuperview"_sel);
        objc::release(l);
    }
    s.labels.clear();
    id overlay = s.overlay;
    s.overlay = nil;
    objc::send<void>(self, "removeFromSuperview"_sel);
    objc::send<void>(overlay, "removeFromSuperview"_sel);
    objc::release(overlay);
    tellIndex(self, "alertView:didDismissWithButtonIndex:"_sel, index);
}

void buttonTapped(id self, SEL, id button) {
    NSInteger index = objc::send<NSInteger>(button, "tag"_sel);
    Ref<NS::Object> keep(objc::cast<NS::Object>(self));
    tellIndex(self, "alertView:clickedButtonAtIndex:"_sel, index);
    objc::send<void>(self, "dismissWithClickedButtonIndex:animated:"_sel, index, BOOL(YES));
}

void dealloc(id self, SEL) {
    auto& alerts = shownAlerts();
    alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
    objc::sendSuper<void>(self, "UIAlertView"_cls, "dealloc"_sel);
}

}  // namespace

namespace alert {

AlertView* visibleAlert() {
    const auto& alerts = shownAlerts();
    return alerts.empty() ? nullptr : objc::cast<AlertView>(alerts.back());
}

bool setTextFieldText(const char* utf8, NSInteger index) {
    AlertView* a = visibleAlert();
    if (a == nullptr || utf8 == nullptr) return false;
    const auto& fields = stateOf(objc::asId(a)).textFields;
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size()) return false;
    objc::send<void>(fields[static_cast<std::size_t>(index)], "setText:"_sel,
                     objc::asId(NS::String::stringWithUTF8String(utf8)));
    return true;
}

std::vector<View*> buttonViews() {
    std::vector<View*> out;
    AlertView* a = visibleAlert();
    if (a == nullptr) return out;
    std::vector<id> buttons = stateOf(objc::asId(a)).buttons;
    std::sort(buttons.begin(), buttons.end(),
              [](id x, id y) { return objc::send<NSInteger>(x, "tag"_sel) < objc::send<NSInteger>(y, "tag"_sel); });
    for (id b : buttons) out.push_back(objc::cast<View>(b));
    return out;
}

bool pressButton(const char* title) {
    AlertView* a = visibleAlert();
    if (a == nullptr || title == nullptr) return false;
    for (View* b : buttonViews()) {
        auto* text = objc::send<NS::String*>(b, "currentTitle"_sel);
        if (text == nullptr || std::string(text->UTF8String()) != title) continue;
        Window* window = b->window();
        if (window == nullptr) return false;
        CGRect bounds = b->bounds();
        CGPoint p = b->convertPointToView(CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds)), nullptr);
        CGRect frame = window->frame(), wb = window->bounds();
        input::tap(CGPointMake(p.x + frame.origin.x - wb.origin.x, p.y + frame.origin.y - wb.origin.y));
        return true;
    }
    return false;
}

}  // namespace alert

void registerAlertView() {
    objc::ClassBuilder builder("UIAlertView", "UIView"_cls);
    builder.state<AlertState>()
        .method("initWithFrame:", &initWithFrame)
        .method("addButtonWithTitle:", &addButtonWithTitle)
        .method("buttonTitleAtIndex:", &buttonTitleAtIndex)
        .method("numberOfButtons", &numberOfButtons)
        .method("cancelButtonIndex", &cancelButtonIndex)
        .method("setCancelButtonIndex:", &setCancelButtonIndex)
        .method("firstOtherButtonIndex", &firstOtherButtonIndex)
        .method("title", &title)
        .method("message", &message)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .method("isVisible", &isVisible)
        .method("alertViewStyle", &alertViewStyle)
        .method("setAlertViewStyle:", &setAlertViewStyle)
        .method("textFieldAtIndex:", &textFieldAtIndex)
        .method("show", &show)
        .method("dismissWithClickedButtonIndex:animated:", &dismiss)
        .method("_buttonTapped:", &buttonTapped)
        .method("dealloc", &dealloc);
    // A C-variadic method: its type encoding lists the fixed arguments only,
    // as the compiler's would.
    objc::detail::addMethodOrDie(builder.cls(), "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:",
                                 objc::detail::toImp(&initWithTitle), "@@:@@@@@", false);
    builder.build();
}

}  // namespace UI
