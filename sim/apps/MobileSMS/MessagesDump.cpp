#include "MessagesDump.h"

#include <AppHost.h>

#include <ChatKit/ChatKit.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColor.h>

namespace mobilesms {
namespace {

using nlohmann::json;

const char* const kColorGetters[] = {
    "transcriptBackgroundColor", "blue_balloonOverlayColor",   "blue_balloonTextColor",    "blue_balloonTextLinkColor",
    "blue_recipientTextColor",   "blue_sendButtonColor",       "blue_progressViewColor",   "green_balloonOverlayColor",
    "green_balloonTextColor",    "green_balloonTextLinkColor", "green_recipientTextColor", "green_sendButtonColor",
    "green_progressViewColor",   "gray_balloonOverlayColor",   "gray_balloonTextColor",    "gray_balloonTextLinkColor",
    "gray_recipientTextColor",   "gray_sendButtonColor",       "gray_progressViewColor",   "appTintColor",
    "entryFieldCoverFillColor",  "entryFieldBackgroundColor",  "entryFieldTextColor",
};
const char* const kArrayGetters[] = {"blue_balloonColors", "green_balloonColors", "gray_balloonColors"};

json objectJSON(id object) {
    if (object == nil) return nullptr;
    if (objc::respondsTo(object, "getRed:green:blue:alpha:"_sel))
        return apphost::colorJSON(objc::cast<UI::Color>(object));
    if (objc::respondsTo(object, "objectAtIndex:"_sel)) {
        auto* array = objc::cast<NS::Array>(object);
        json list = json::array();
        for (NSUInteger i = 0; i < array->count(); ++i) list.push_back(objectJSON(array->objectAtIndex(i)));
        return list;
    }
    NS::String* description = objc::cast<NS::Object>(object)->description();
    const char* text = description ? description->UTF8String() : nullptr;
    return text ? json(text) : json(nullptr);
}

json behaviorJSON() {
    CK::UIBehavior* behavior = CK::UIBehavior::sharedBehaviors();
    json out = json::object();
    for (const char* getter : kColorGetters) {
        out[getter] = behavior ? objectJSON(objc::send<id>(behavior, objc::sel(getter))) : json(nullptr);
    }
    for (const char* getter : kArrayGetters) {
        out[getter] = behavior ? objectJSON(objc::send<id>(behavior, objc::sel(getter))) : json(nullptr);
    }
    out["shouldShowContactPhotosInConversationList"] =
        behavior ? json(bool(behavior->shouldShowContactPhotosInConversationList())) : json(nullptr);
    return out;
}

json frameJSON(CGRect r) {
    return {{"x", r.origin.x}, {"y", r.origin.y}, {"width", r.size.width}, {"height", r.size.height}};
}

NS::Array* balloonsOf(UI::View* transcriptView) {
    return objc::respondsTo(transcriptView, "balloons"_sel) ? objc::cast<CK::TranscriptView>(transcriptView)->balloons()
                                                            : nullptr;
}

json textBalloonJSON(UI::View* transcriptView) {
    NS::Array* balloons = balloonsOf(transcriptView);
    if (balloons == nullptr || balloons->count() == 0) return nullptr;
    auto* balloon = objc::cast<UI::View>(balloons->objectAtIndex(0));
    CA::Layer* layer = balloon->layer();
    CGColorRef border = layer->borderColor();
    return {
        {"backgroundColor", apphost::colorJSON(balloon->backgroundColor())},
        {"borderColor", border ? apphost::colorJSON(UI::Color::colorWithCGColor(border)) : json(nullptr)},
        {"borderWidth", layer->borderWidth()},
        {"cornerRadius", layer->cornerRadius()},
        {"masksToBounds", bool(layer->masksToBounds())},
        {"textFrame", frameJSON(objc::cast<CK::TextBalloonView>(balloon)->textFrame())},
    };
}

json hasTailJSON(UI::View* transcriptView) {
    json list = json::array();
    if (NS::Array* balloons = balloonsOf(transcriptView)) {
        for (NSUInteger i = 0; i < balloons->count(); ++i) {
            list.push_back(bool(objc::send<BOOL>(balloons->objectAtIndex(i), "hasTail"_sel)));
        }
    }
    return list;
}

json balloonsJSON(UI::View* transcriptView, bool onScreen) {
    json list = json::array();
    NS::Array* balloons = balloonsOf(transcriptView);
    if (balloons == nullptr) return list;
    for (NSUInteger i = 0; i < balloons->count(); ++i) {
        auto* balloon = objc::cast<CK::TextBalloonView>(balloons->objectAtIndex(i));
        CGRect frame = balloon->convertRectToView(balloon->bounds(), onScreen ? nullptr : transcriptView);
        const char* text = balloon->text() ? balloon->text()->UTF8String() : "";
        list.push_back({{"kind", CK::balloonKindName(balloon->balloonKind())},
                        {"fromMe", bool(balloon->isFromMe())},
                        {"text", text ? text : ""},
                        {"frame", frameJSON(frame)}});
    }
    return list;
}

// A plain balloon, not a text balloon, the last of its run (the system gives
// it a tail): what CKBalloonView's own hasTail answers, which the balloons of
// the transcript, all text balloons, would not tell apart from a hook placed
// on CKTextBalloonView alone.
json plainBalloonHasTailJSON() {
    if (objc_getClass("CKBalloonView") == Nil) return nullptr;
    Ref<CK::BalloonView> balloon = objc::adopt(CK::BalloonView::alloc()->initWithFrame(CGRectMake(0, 0, 100, 40)));
    balloon->setLastInRun(YES);
    return bool(balloon->hasTail());
}

json randomColorJSON() {
    Class gradient = objc_getClass("CKGradientView");
    if (gradient == Nil || !class_respondsToSelector(gradient, "getRandomColor"_sel)) return nullptr;
    Ref<UI::View> view = objc::adopt(objc::send<UI::View*>(objc::send<id>(gradient, "alloc"_sel), "init"_sel));
    return objectJSON(objc::send<id>(view.get(), "getRandomColor"_sel));
}

}  // namespace

json makeDump(const DumpSources& s) {
    json dump = json::object();
    dump["loaded"] = s.loaded;
    dump["screen"] = s.screen;
    dump["behavior"] = behaviorJSON();
    UI::Button* details =
        s.transcriptController ? objc::send<UI::Button*>(s.transcriptController, "detailsButton"_sel) : nullptr;
    dump["detailsButtonTint"] = details ? apphost::colorJSON(details->tintColor()) : json(nullptr);
    dump["textBalloon"] = textBalloonJSON(s.transcriptView);
    dump["hasTail"] = hasTailJSON(s.transcriptView);
    dump["plainBalloonHasTail"] = plainBalloonHasTailJSON();
    dump["getRandomColor"] = randomColorJSON();
    dump["balloons"] = balloonsJSON(s.transcriptView, s.transcriptOnScreen);
    return dump;
}

}  // namespace mobilesms
