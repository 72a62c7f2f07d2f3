#include <UIKit/UIAlertView.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIInput.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITextField.h>
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
    Ref<NS::String> title;                      // a copy of the string given
    Ref<NS::String> message;                    // a copy of the string given
    id delegate = nil;                          // not owned
    std::vector<Ref<NS::String>> buttonTitles;  // copies
    NSInteger cancelIndex = -1;
    UIAlertViewStyle style = UIAlertViewStyleDefault;
    std::vector<Ref<TextField>> textFields;
    std::vector<Ref<Button>> buttons;  // the button views while shown
    std::vector<Ref<View>> labels;     // the labels and hairlines while shown
    Ref<View> overlay;                 // the dimmed view while shown
};

AlertState& stateOf(objc::AnyObject self) { return objc::state<AlertState>(self); }

// The alerts on screen, oldest first; each is kept by its overlay.
std::vector<AlertView*>& shownAlerts() {
    static std::vector<AlertView*> alerts;
    return alerts;
}

// The delegate's callbacks are all optional.
void tell(AlertView* self, SEL callback) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self);
}

void tellIndex(AlertView* self, SEL callback, NSInteger index) {
    id d = stateOf(self).delegate;
    if (d != nil && objc::respondsTo(d, callback)) objc::send<void>(d, callback, self, index);
}

NSInteger addButtonWithTitle(AlertView* self, SEL, NS::String* title) {
    auto& titles = stateOf(self).buttonTitles;
    titles.push_back(objc::copyOf(title != nullptr ? title : ""_ns));
    return static_cast<NSInteger>(titles.size()) - 1;
}

AlertView* commonInit(AlertView* self, NS::String* title, NS::String* message, id delegate, NS::String* cancel) {
    self = objc::sendSuper<AlertView*>(self, "UIAlertView"_cls, "initWithFrame:"_sel, CGRectZero);
    if (self == nullptr) return nullptr;
    AlertState& s = stateOf(self);
    s.title = objc::copyOf(title);
    s.message = objc::copyOf(message);
    s.delegate = delegate;
    if (cancel != nullptr) s.cancelIndex = addButtonWithTitle(self, nullptr, cancel);
    self->setBackgroundColor(Color::whiteColor());
    self->layer()->setCornerRadius(metrics::kAlertCornerRadius);
    self->setClipsToBounds(YES);
    return self;
}

// The phone's initialiser: the other titles follow as C variable arguments,
// ended by nil.
AlertView* initWithTitle(AlertView* self, SEL, NS::String* title, NS::String* message, id delegate, NS::String* cancel,
                         NS::String* firstOther, ...) {
    self = commonInit(self, title, message, delegate, cancel);
    if (self == nullptr || firstOther == nullptr) return self;
    addButtonWithTitle(self, nullptr, firstOther);
    va_list others;
    va_start(others, firstOther);
    while (id other = va_arg(others, id)) addButtonWithTitle(self, nullptr, objc::cast<NS::String>(other));
    va_end(others);
    return self;
}

AlertView* initWithFrame(AlertView* self, SEL, CGRect) { return commonInit(self, nullptr, nullptr, nil, nullptr); }

NS::String* buttonTitleAtIndex(id self, SEL, NSInteger index) {
    const auto& titles = stateOf(self).buttonTitles;
    if (index < 0 || static_cast<std::size_t>(index) >= titles.size()) return nullptr;
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
NS::String* title(id self, SEL) { return stateOf(self).title; }
NS::String* message(id self, SEL) { return stateOf(self).message; }
id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) { stateOf(self).delegate = d; }
BOOL isVisible(id self, SEL) { return stateOf(self).overlay ? YES : NO; }

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
        s.textFields.back()->removeFromSuperview();
        s.textFields.pop_back();
    }
    while (s.textFields.size() < wanted) {
        Ref<TextField> field = objc::adopt(TextField::alloc()->initWithFrame(CGRectZero));
        field->setBorderStyle(UITextBorderStyleRoundedRect);
        field->setFont(objc::cast<Font>(detail::systemFont(13, false)));
        s.textFields.push_back(std::move(field));
    }
}

TextField* textFieldAtIndex(id self, SEL, NSInteger index) {
    const auto& fields = stateOf(self).textFields;
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size()) {
        objc::fatal("-[UIAlertView textFieldAtIndex:] index %ld is beyond the alert's %zu text fields",
                    static_cast<long>(index), fields.size());
    }
    return fields[static_cast<std::size_t>(index)];
}

// --- showing ------------------------------------------------------------------

Ref<Label> makeLabel(NS::String* text, CGFloat size, bool bold, CGFloat width) {
    Ref<Label> label = objc::adopt(Label::alloc()->initWithFrame(CGRectZero));
    label->setText(text);
    label->setFont(objc::cast<Font>(detail::systemFont(size, bold)));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setNumberOfLines(0);
    CGSize fit = label->sizeThatFits(CGSizeMake(width, 10000));
    label->setFrame(CGRectMake(0, 0, width, fit.height));
    return label;
}

void addLine(AlertView* self, CGRect frame) {
    View* line = objc::cast<View>(detail::solidView(frame, detail::color(metrics::kAlertSeparator)));
    stateOf(self).labels.emplace_back(line);
    self->addSubview(line);
}

Button* makeButton(AlertView* self, NSInteger index) {
    AlertState& s = stateOf(self);
    Button* button = Button::buttonWithType(UIButtonTypeSystem);
    button->setTitle(s.buttonTitles[static_cast<std::size_t>(index)], UIControlStateNormal);
    button->titleLabel()->setFont(objc::cast<Font>(detail::systemFont(17, index == s.cancelIndex)));
    button->setTag(index);
    button->addTarget(self, "_buttonTapped:"_sel, UIControlEventTouchUpInside);
    return button;
}

// Builds the panel's contents from the top: title, message, text fields,
// then the buttons with hairlines between them.
void buildPanel(AlertView* self, CGRect area) {
    AlertState& s = stateOf(self);
    const CGFloat W = metrics::kAlertWidth, inner = W - 32;
    CGFloat y = 19;
    auto addText = [&](NS::String* text, CGFloat size, bool bold) {
        Ref<Label> label = makeLabel(text, size, bold, inner);
        const CGFloat height = label->frame().size.height;
        label->setFrame(CGRectMake(16, y, inner, height));
        self->addSubview(label);
        s.labels.emplace_back(label);
        y += height;
    };
    if (s.title) addText(s.title, metrics::kAlertTitleSize, true);
    if (s.message) {
        if (s.title) y += 4;
        addText(s.message, metrics::kAlertMessageSize, false);
    }
    if (!s.textFields.empty()) {
        y += 12;
        for (TextField* field : s.textFields) {
            field->setFrame(CGRectMake(16, y, inner, metrics::kAlertFieldHeight));
            self->addSubview(field);
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
            Button* button = makeButton(self, order[k]);
            button->setFrame(CGRectMake(k * W / 2, y, W / 2, h));
            s.buttons.emplace_back(button);
            self->addSubview(button);
        }
        addLine(self, CGRectMake(W / 2, y, hairline, h));
        y += h;
    } else {
        for (NSInteger index : order) {
            addLine(self, CGRectMake(0, y, W, hairline));
            Button* button = makeButton(self, index);
            button->setFrame(CGRectMake(0, y, W, h));
            s.buttons.emplace_back(button);
            self->addSubview(button);
            y += h;
        }
    }
    self->setFrame(CGRectMake(std::round(area.origin.x + (area.size.width - W) / 2),
                              std::round(area.origin.y + (area.size.height - y) / 2), W, y));
}

Window* hostWindow() {
    if (Window* key = Application::sharedApplication()->keyWindow()) return key;
    auto windows = application::visibleWindows();
    return windows.empty() ? nullptr : windows.back();
}

void show(AlertView* self, SEL) {
    AlertState& s = stateOf(self);
    if (s.overlay) return;
    Window* window = hostWindow();
    if (window == nullptr) return;
    CGRect area = window->bounds();
    tell(self, "willPresentAlertView:"_sel);
    s.overlay = objc::adopt(View::alloc()->initWithFrame(area));
    s.overlay->setBackgroundColor(Color::colorWithWhite(0, metrics::kAlertDimAlpha));
    buildPanel(self, area);
    s.overlay->addSubview(self);
    window->addSubview(s.overlay);
    shownAlerts().push_back(self);
    if (!s.textFields.empty()) s.textFields.front()->becomeFirstResponder();
    tell(self, "didPresentAlertView:"_sel);
}

void dismiss(AlertView* self, SEL, NSInteger index, BOOL) {
    AlertState& s = stateOf(self);
    if (!s.overlay) return;
    const Ref<AlertView> keep = self;
    tellIndex(self, "alertView:willDismissWithButtonIndex:"_sel, index);
    for (TextField* field : s.textFields) field->resignFirstResponder();
    auto& alerts = shownAlerts();
    alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
    for (Button* b : s.buttons) b->removeFromSuperview();
    s.buttons.clear();
    for (View* l : s.labels) l->removeFromSuperview();
    s.labels.clear();
    const Ref<View> overlay = std::move(s.overlay);
    self->removeFromSuperview();
    overlay->removeFromSuperview();
    tellIndex(self, "alertView:didDismissWithButtonIndex:"_sel, index);
}

// The action of the alert's own buttons: the sender is one of them.
void buttonTapped(AlertView* self, SEL, Button* button) {
    NSInteger index = button->tag();
    Ref<AlertView> keep(self);
    tellIndex(self, "alertView:clickedButtonAtIndex:"_sel, index);
    self->dismissWithClickedButtonIndex(index, YES);
}

void dealloc(AlertView* self, SEL) {
    auto& alerts = shownAlerts();
    alerts.erase(std::remove(alerts.begin(), alerts.end(), self), alerts.end());
    objc::sendSuper<void>(self, "UIAlertView"_cls, "dealloc"_sel);
}

}  // namespace

namespace alert {

AlertView* visibleAlert() {
    const auto& alerts = shownAlerts();
    return alerts.empty() ? nullptr : alerts.back();
}

bool setTextFieldText(const char* utf8, NSInteger index) {
    AlertView* a = visibleAlert();
    if (a == nullptr || utf8 == nullptr) return false;
    const auto& fields = stateOf(a).textFields;
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size()) return false;
    fields[static_cast<std::size_t>(index)]->setText(NS::String::stringWithUTF8String(utf8));
    return true;
}

std::vector<View*> buttonViews() {
    std::vector<View*> out;
    AlertView* a = visibleAlert();
    if (a == nullptr) return out;
    for (Button* b : stateOf(a).buttons) out.push_back(b);
    std::sort(out.begin(), out.end(), [](View* x, View* y) { return x->tag() < y->tag(); });
    return out;
}

bool pressButton(const char* title) {
    AlertView* a = visibleAlert();
    if (a == nullptr || title == nullptr) return false;
    for (View* b : buttonViews()) {
        NS::String* text = objc::cast<Button>(b)->currentTitle();  // the alert's views are buttons
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
