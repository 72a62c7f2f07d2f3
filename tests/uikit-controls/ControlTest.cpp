// Target-action and finger tracking of UIControl, and the controls built on
// it that need no range: buttons, switches, text fields; labels beside them.
#include "ControlsTesting.h"

#include <UIKit/UIButton.h>
#include <UIKit/UIControl.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITextField.h>

namespace {

using namespace ctltest;
using UI::Control;
using Strings = std::vector<std::string>;

class ControlTest : public ControlsTest {
protected:
    Ref<Control> makeControl(CGRect frame) { return objc::adopt(Control::alloc()->initWithFrame(frame)); }
};

TEST_F(ControlTest, ActionsGoOutWithAsManyArgumentsAsTheirSelectorsTakeInTheOrderAdded) {
    auto control = makeControl(CGRectMake(0, 0, 100, 40));
    auto target = makeRecorder();
    control->addTarget(target, "pingWithSender:event:"_sel, UI::UIControlEventValueChanged);
    control->addTarget(target, "ping"_sel, UI::UIControlEventValueChanged | UI::UIControlEventTouchDown);
    control->addTarget(target, "pingWithSender:"_sel, UI::UIControlEventTouchDown);

    control->sendActionsForControlEvents(UI::UIControlEventValueChanged);
    EXPECT_EQ(journal(), (Strings{"pingWithSender:event:", "ping"}));
    journal().clear();
    control->sendActionsForControlEvents(UI::UIControlEventTouchDown);
    EXPECT_EQ(journal(), (Strings{"ping", "pingWithSender:"}));
    journal().clear();
    control->sendActionsForControlEvents(UI::UIControlEventTouchUpInside);
    EXPECT_TRUE(journal().empty());
}

TEST_F(ControlTest, AddingAPairAgainMergesItsEventsAndRemovingTakesOnlyTheEventsNamed) {
    auto control = makeControl(CGRectMake(0, 0, 100, 40));
    auto target = makeRecorder();
    control->addTarget(target, "ping"_sel, UI::UIControlEventTouchDown);
    control->addTarget(target, "ping"_sel, UI::UIControlEventValueChanged);
    control->sendActionsForControlEvents(UI::UIControlEventTouchDown | UI::UIControlEventValueChanged);
    EXPECT_EQ(journal(), (Strings{"ping"}));  // one pair, sent once

    control->removeTarget(target, "ping"_sel, UI::UIControlEventTouchDown);
    EXPECT_EQ(control->allControlEvents(), UI::UIControlEventValueChanged);
    control->removeTarget(nullptr, nullptr, UI::UIControlEventAllEvents);
    EXPECT_EQ(control->allControlEvents(), 0u);
    EXPECT_EQ(control->actionsForTarget(target, UI::UIControlEventValueChanged), nullptr);
}

TEST_F(ControlTest, ANilTargetSendsTheActionUpTheResponderChain) {
    // The first responder along the chain that answers the action: here a
    // view controller whose view holds the control.
    static Class owner = objc::ClassBuilder("ControlTestOwner", "UIViewController"_cls)
                             .method(
                                 "pingWithSender:", +[](id, SEL) { journal().push_back("owner"); })
                             .build();
    Ref<UI::ViewController> controller =
        objc::adopt(objc::send<UI::ViewController*>(objc::send<id>(owner, "alloc"_sel), "init"_sel));
    auto control = makeControl(CGRectMake(0, 0, 100, 40));
    controller->view()->addSubview(control);
    control->addTarget(nullptr, "pingWithSender:"_sel, UI::UIControlEventTouchUpInside);
    control->sendActionsForControlEvents(UI::UIControlEventTouchUpInside);
    EXPECT_EQ(journal(), (Strings{"owner"}));
}

TEST_F(ControlTest, AFingerLiftedInsideSendsTouchUpInsideAndOutsideSendsTouchUpOutside) {
    UI::Window* window = showWindow();
    auto control = makeControl(CGRectMake(50, 100, 100, 40));
    window->addSubview(control);
    auto target = makeRecorder();
    control->addTarget(target, "touchDown:"_sel, UI::UIControlEventTouchDown);
    control->addTarget(target, "touchUpInside:"_sel, UI::UIControlEventTouchUpInside);
    control->addTarget(target, "touchUpOutside:"_sel, UI::UIControlEventTouchUpOutside);
    control->addTarget(target, "dragExit:"_sel, UI::UIControlEventTouchDragExit);
    control->addTarget(target, "dragEnter:"_sel, UI::UIControlEventTouchDragEnter);

    {
        UI::input::Finger finger(CGPointMake(100, 120));
        EXPECT_TRUE(control->isHighlighted());
        EXPECT_TRUE(control->isTracking());
    }
    EXPECT_FALSE(control->isHighlighted());
    EXPECT_FALSE(control->isTracking());
    EXPECT_EQ(journal(), (Strings{"touchDown:", "touchUpInside:"}));

    journal().clear();
    UI::input::Finger finger(CGPointMake(100, 120));
    finger.moveTo(CGPointMake(100, 300));
    EXPECT_FALSE(control->isHighlighted());
    finger.moveTo(CGPointMake(110, 130));
    finger.moveTo(CGPointMake(300, 130));
    finger.lift();
    EXPECT_EQ(journal(), (Strings{"touchDown:", "dragExit:", "dragEnter:", "dragExit:", "touchUpOutside:"}));
}

TEST_F(ControlTest, ADisabledControlTakesNoTouches) {
    UI::Window* window = showWindow();
    auto control = makeControl(CGRectMake(50, 100, 100, 40));
    window->addSubview(control);
    auto target = makeRecorder();
    control->addTarget(target, "touchUpInside:"_sel, UI::UIControlEventAllTouchEvents);
    control->setEnabled(NO);
    UI::input::tap(CGPointMake(100, 120));
    EXPECT_TRUE(journal().empty());
    EXPECT_EQ(control->state(), UI::UIControlStateDisabled);
}

TEST_F(ControlTest, ASystemButtonDrawsItsTitleInTheTintColourAndReportsTaps) {
    UI::Window* window = showWindow();
    UI::Button* button = UI::Button::buttonWithType(UI::UIButtonTypeSystem);
    button->setFrame(CGRectMake(20, 100, 120, 44));
    button->setTitle("Tap me"_ns, UI::UIControlStateNormal);
    window->addSubview(button);
    auto target = makeRecorder();
    button->addTarget(target, "touchUpInside:"_sel, UI::UIControlEventTouchUpInside);

    EXPECT_TRUE(button->titleLabel()->text()->isEqualToString("Tap me"_ns));
    EXPECT_TRUE(button->currentTitle()->isEqualToString("Tap me"_ns));
    // Somewhere in the title a pixel has the tint's full colour; nothing else
    // in the button is blue.
    uitest::Picture picture = uitest::pictureOf(button);
    int tinted = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) tinted += picture.at(x, y) == Pixel{0, 122, 255, 255};
    EXPECT_GT(tinted, 20);

    UI::Color* red = UI::Color::redColor();
    button->setTintColor(red);
    EXPECT_TRUE(button->titleLabel()->textColor()->isEqual(red));

    UI::input::tap(screenCentre(button));
    EXPECT_EQ(journal(), (Strings{"touchUpInside:"}));
}

TEST_F(ControlTest, AButtonStateWithoutATitleOfItsOwnShowsTheNormalTitle) {
    UI::Button* button = UI::Button::buttonWithType(UI::UIButtonTypeSystem);
    button->setTitle("Normal"_ns, UI::UIControlStateNormal);
    button->setTitle("Pressed"_ns, UI::UIControlStateHighlighted);
    EXPECT_TRUE(button->titleForState(UI::UIControlStateDisabled)->isEqualToString("Normal"_ns));
    button->setHighlighted(YES);
    EXPECT_TRUE(button->titleLabel()->text()->isEqualToString("Pressed"_ns));
    button->setHighlighted(NO);
    EXPECT_TRUE(button->titleLabel()->text()->isEqualToString("Normal"_ns));
}

TEST_F(ControlTest, ASwitchKeepsItsSizeTogglesOnATapAndReportsIt) {
    UI::Window* window = showWindow();
    Ref<UI::Switch> toggle = objc::adopt(UI::Switch::alloc()->initWithFrame(CGRectMake(200, 100, 10, 10)));
    EXPECT_TRUE(CGRectEqualToRect(toggle->frame(), CGRectMake(200, 100, 51, 31)));
    window->addSubview(toggle);
    auto target = makeRecorder();
    toggle->addTarget(target, "valueChanged:"_sel, UI::UIControlEventValueChanged);

    UI::input::tap(screenCentre(toggle));
    EXPECT_TRUE(toggle->isOn());
    UI::input::tap(screenCentre(toggle));
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(journal(), (Strings{"valueChanged:", "valueChanged:"}));

    toggle->setOn(YES, YES);  // from code: no event
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(journal().size(), 2u);
}

TEST_F(ControlTest, ASwitchIsGreenWhenOnAndWhiteWithALightBorderWhenOff) {
    Ref<UI::Switch> toggle = objc::adopt(UI::Switch::alloc()->initWithFrame(CGRectZero));
    toggle->setOn(YES);
    uitest::Picture on = uitest::pictureOf(toggle);
    EXPECT_EQ(on.at(16, 31), (Pixel{0x4C, 0xD9, 0x64, 255}));  // left of the knob
    EXPECT_EQ(on.at(76, 31), uitest::kWhite);                  // the knob sits right

    toggle->setOn(NO);
    uitest::Picture off = uitest::pictureOf(toggle);
    EXPECT_EQ(off.at(51, 1), (Pixel{0xE3, 0xE3, 0xE8, 255}));  // the border at the top edge
    EXPECT_EQ(off.at(70, 31), uitest::kWhite);                 // inside, right of the knob
    EXPECT_EQ(off.at(26, 31), uitest::kWhite);                 // the knob sits left
}

TEST_F(ControlTest, TypedTextArrivesCharacterByCharacterAndBackspaceTakesWholeCharacters) {
    UI::Window* window = showWindow();
    Ref<UI::TextField> field = objc::adopt(UI::TextField::alloc()->initWithFrame(CGRectMake(20, 100, 240, 30)));
    field->setBorderStyle(UI::UITextBorderStyleRoundedRect);
    window->addSubview(field);
    auto target = makeRecorder();
    field->addTarget(target, "editingChanged:"_sel, UI::UIControlEventEditingChanged);

    UI::textField::typeText(field, "#1a\xF0\x9F\x98\x80");  // three letters and an emoji (two UTF-16 units)
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(field->text()->length(), 5u);
    EXPECT_EQ(journal().size(), 4u);
    UI::textField::typeText(field, "\b\b");
    EXPECT_TRUE(field->text()->isEqualToString("#1"_ns));
    field->setText(nullptr);
    EXPECT_TRUE(field->text()->isEqualToString(""_ns));

    // A tap on another field moves the editing there: the first one resigns
    // and says so.
    field->addTarget(target, "editingDidEnd:"_sel, UI::UIControlEventEditingDidEnd);
    Ref<UI::TextField> other = objc::adopt(UI::TextField::alloc()->initWithFrame(CGRectMake(20, 200, 240, 30)));
    window->addSubview(other);
    journal().clear();
    UI::input::tap(screenCentre(other));
    EXPECT_TRUE(other->isEditing());
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(journal(), (Strings{"editingDidEnd:"}));
}

TEST_F(ControlTest, ReturnAsksTheDelegateAndAnEmptyFieldShowsItsPlaceholderInLightGray) {
    static Class delegate = objc::ClassBuilder("ControlTestFieldDelegate", "NSObject"_cls)
                                .method(
                                    "textFieldShouldReturn:",
                                    +[](id, SEL, id) -> BOOL {
                                        journal().push_back("return");
                                        return YES;
                                    })
                                .build();
    Ref<NS::Object> d = objc::adopt(objc::send<NS::Object*>(objc::send<id>(delegate, "alloc"_sel), "init"_sel));
    Ref<UI::TextField> field = objc::adopt(UI::TextField::alloc()->initWithFrame(CGRectMake(0, 0, 200, 30)));
    field->setDelegate(d);
    field->setPlaceholder("MMMMMMMM"_ns);
    field->setBorderStyle(UI::UITextBorderStyleRoundedRect);
    showWindow()->addSubview(field);
    uitest::Picture picture = uitest::pictureOf(field);
    int placeholder = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) placeholder += picture.at(x, y) == Pixel{0xC7, 0xC7, 0xCD, 255};
    EXPECT_GT(placeholder, 20);
    EXPECT_EQ(picture.at(0, 30), (Pixel{0xCC, 0xCC, 0xCC, 255}));  // the hairline border: one pixel
    EXPECT_EQ(picture.at(1, 30), uitest::kWhite);
    EXPECT_EQ(picture.at(200, 4), uitest::kWhite);

    UI::textField::typeText(field, "ab\n");
    EXPECT_TRUE(field->text()->isEqualToString("ab"_ns));
    EXPECT_EQ(journal(), (Strings{"return"}));
}

TEST_F(ControlTest, ALabelDrawsItsTextWhereItsAlignmentPutsIt) {
    struct Case {
        UI::NSTextAlignment alignment;
        int firstInk, lastInk;  // pixel columns the ink must fall within
    };
    const Case cases[] = {
        {UI::NSTextAlignmentLeft, 0, 200}, {UI::NSTextAlignmentCenter, 150, 450}, {UI::NSTextAlignmentRight, 400, 600}};
    for (const Case& c : cases) {
        Ref<UI::Label> label = objc::adopt(UI::Label::alloc()->initWithFrame(CGRectMake(0, 0, 300, 30)));
        label->setText("Hello"_ns);
        label->setTextAlignment(c.alignment);
        uitest::Picture p = uitest::pictureOf(label);
        int first = p.width(), last = -1;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                if (p.at(x, y).a > 128) first = std::min(first, x), last = std::max(last, x);
        EXPECT_GE(first, c.firstInk) << c.alignment;
        EXPECT_LE(last, c.lastInk) << c.alignment;
        EXPECT_GT(last - first, 40) << c.alignment;
    }
}

TEST_F(ControlTest, ALabelMeasuresOneLineUnlimitedAndWrapsWhenAllowedMoreLines) {
    Ref<UI::Label> label = objc::adopt(UI::Label::alloc()->initWithFrame(CGRectMake(0, 0, 100, 20)));
    label->setText("Enter a hex color or copy it to your pasteboard."_ns);
    CGSize one = label->sizeThatFits(CGSizeMake(100, 1000));
    EXPECT_GT(one.width, 200);
    label->setNumberOfLines(0);
    CGSize many = label->sizeThatFits(CGSizeMake(100, 1000));
    EXPECT_LE(many.width, 100);
    EXPECT_GE(many.height, 3 * one.height);
    EXPECT_FALSE(label->isUserInteractionEnabled());
}

}  // namespace
