// CKTranscriptView: builds the transcript of the sample conversation once and
// places it at every layout.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKTranscriptView.h>
#include <ChatKit/CKUIBehavior.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>
#include <UIKit/UIButton.h>
#include <UIKit/UILabel.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace chatkit {
namespace {

using namespace metrics;

NS::String* ns(const std::string& text) { return NS::String::stringWithUTF8String(text.c_str()); }

UI::Color* gray(CGFloat level, CGFloat alpha = 1) { return UI::Color::colorWithWhite(level, alpha); }

// A label added to `parent`, sized to its text.
UI::Label* addLabel(UI::View* parent, const std::string& text, UI::Font* font, UI::Color* color) {
    Ref<UI::Label> label = objc::adopt(UI::Label::alloc()->initWithFrame(CGRectZero));
    label->setText(ns(text));
    label->setFont(font);
    label->setTextColor(color);
    label->sizeToFit();
    parent->addSubview(label.get());
    return label.get();
}

// A plain view added to `parent`.
UI::View* addView(UI::View* parent, UI::Color* background = nullptr) {
    Ref<UI::View> view = objc::adopt(UI::View::alloc()->initWithFrame(CGRectZero));
    view->setBackgroundColor(background);
    parent->addSubview(view.get());
    return view.get();
}

struct Header {
    UI::Label* note = nullptr;
    UI::Label* day = nullptr;
    UI::Label* time = nullptr;
    CGFloat height() const { return note ? 40 : kTimestampHeight; }
};

struct Item {
    // Either a section header or a message.
    std::optional<Header> header;
    UI::View* balloon = nullptr;
    bool fromMe = false;
    bool startsRun = false;
};

struct TranscriptState {
    const SampleConversation* conversation = nullptr;
    UI::View* content = nullptr;  // clips the scrolled messages
    std::vector<Item> items;
    Ref<NS::MutableArray> balloons;
    UI::View* recipientField = nullptr;
    UI::Label* recipientTo = nullptr;
    UI::Label* recipientName = nullptr;
    UI::View* recipientLine = nullptr;
    UI::View* progress = nullptr;
    UI::View* entryBar = nullptr;
    UI::View* entryLine = nullptr;
    UI::View* entryField = nullptr;
    UI::Label* entryText = nullptr;
    UI::Button* send = nullptr;
};

TranscriptState& stateOf(objc::AnyObject self) { return objc::state<TranscriptState>(self); }

void buildMessages(TranscriptState& s) {
    UI::Font* small = UI::Font::systemFontOfSize(kTimestampTextSize);
    UI::Font* smallBold = UI::Font::boldSystemFontOfSize(kTimestampTextSize);
    UI::Color* secondary = gray(kSecondaryTextGray);
    std::vector<bool> last = sampleLastInRun(*s.conversation);
    std::size_t index = 0;
    Class balloonClass = objc_getClass("CKTextBalloonView");
    for (const SampleSection& section : s.conversation->sections) {
        Header h;
        if (!section.note.empty()) h.note = addLabel(s.content, section.note, smallBold, secondary);
        h.day = addLabel(s.content, section.day, smallBold, secondary);
        h.time = addLabel(s.content, " " + section.time, small, secondary);
        s.items.push_back({h, nullptr, false, false});
        bool previousFromMe = false;
        for (std::size_t i = 0; i < section.messages.size(); ++i, ++index) {
            const SampleMessage& m = section.messages[i];
            Item item;
            item.fromMe = m.fromMe;
            item.startsRun = i == 0 || previousFromMe != m.fromMe;
            previousFromMe = m.fromMe;
            if (balloonClass != Nil) {
                auto* balloon = objc::send<CK::TextBalloonView*>(objc::send<id>(balloonClass, "alloc"_sel),
                                                                 "initWithFrame:"_sel, CGRectZero);
                balloon->setBalloonKind(m.kind);
                balloon->setFromMe(m.fromMe);
                balloon->setLastInRun(last[index]);
                balloon->setText(ns(m.text));
                balloon->setLinkText(m.link.empty() ? nullptr : ns(m.link));
                s.content->addSubview(balloon);
                s.balloons->addObject(balloon);
                objc::release(balloon);
                item.balloon = balloon;
            }
            s.items.push_back(item);
        }
    }
}

id initWithFrame(id self, SEL cmd, CGRect frame) {
    self = objc::sendSuper<id>(self, "CKTranscriptView"_cls, cmd, frame);
    if (self == nil) return nil;
    auto* view = objc::cast<UI::View>(self);
    TranscriptState& s = stateOf(self);
    s.conversation = &sampleConversation();
    s.balloons = NS::MutableArray::array();

    s.content = addView(view);
    s.content->setClipsToBounds(YES);
    buildMessages(s);

    s.recipientField = addView(view);
    s.recipientTo =
        addLabel(s.recipientField, "To:", UI::Font::systemFontOfSize(kRecipientTextSize), gray(kSecondaryTextGray));
    s.recipientName = addLabel(s.recipientField, s.conversation->contactName,
                               UI::Font::systemFontOfSize(kRecipientTextSize), nullptr);
    s.recipientLine = addView(s.recipientField, gray(kSeparatorGray));
    s.progress = addView(view);

    s.entryBar = addView(view);
    s.entryLine = addView(s.entryBar, gray(0xB2 / 255.0));
    s.entryField = addView(s.entryBar);
    s.entryField->layer()->setCornerRadius(kEntryFieldCornerRadius);
    s.entryField->layer()->setBorderWidth(0.5);
    s.entryField->layer()->setBorderColor(gray(kSeparatorGray)->CGColor());
    s.entryText =
        addLabel(s.entryField, s.conversation->draft, UI::Font::systemFontOfSize(kEntryFieldTextSize), nullptr);
    s.send = UI::Button::buttonWithType(UI::UIButtonTypeSystem);
    s.send->setTitle("Send"_ns, UI::UIControlStateNormal);
    s.send->titleLabel()->setFont(UI::Font::boldSystemFontOfSize(kSendButtonTextSize));
    s.entryBar->addSubview(s.send);
    return self;
}

NS::Array* balloons(id self, SEL) { return stateOf(self).balloons.get(); }
id sendButton(id self, SEL) { return objc::asId(stateOf(self).send); }
id progressView(id self, SEL) { return objc::asId(stateOf(self).progress); }
id entryField(id self, SEL) { return objc::asId(stateOf(self).entryField); }

// Places the header's lines centred, the day and the time side by side.
void placeHeader(const Header& h, CGFloat width, CGFloat top) {
    CGFloat y = top + 8;
    if (h.note) {
        CGRect f = h.note->frame();
        h.note->setFrame(CGRectMake(std::round((width - f.size.width) / 2), y, f.size.width, f.size.height));
        y += f.size.height;
    }
    CGRect day = h.day->frame(), time = h.time->frame();
    CGFloat x = std::round((width - day.size.width - time.size.width) / 2);
    h.day->setFrame(CGRectMake(x, y, day.size.width, day.size.height));
    h.time->setFrame(CGRectMake(x + day.size.width, y, time.size.width, time.size.height));
}

void placeMessages(TranscriptState& s, CGFloat width, CGFloat visibleHeight) {
    const CGFloat maxWidth = std::min(std::floor(width * kBalloonMaxWidthFraction),
                                      width - kBalloonFarSideMargin - kTranscriptSideMargin - kTailWidth);
    const CGFloat sideInset = kTranscriptSideMargin + kTailWidth;
    // First the heights, top down, then everything moved so that the newest
    // message ends just above the entry bar: the transcript is scrolled to
    // its end, as it opens. A conversation shorter than the screen starts at
    // the top instead.
    struct Placed {
        const Item* item;
        CGRect frame;
    };
    std::vector<Placed> placed;
    CGFloat y = 0;
    bool afterHeader = true;
    for (const Item& item : s.items) {
        if (item.header) {
            placed.push_back({&item, CGRectMake(0, y, width, item.header->height())});
            y += item.header->height();
            afterHeader = true;
            continue;
        }
        if (!afterHeader) y += item.startsRun ? kBalloonSpacingBetweenRuns : kBalloonSpacingInRun;
        afterHeader = false;
        CGSize size = item.balloon ? item.balloon->sizeThatFits(CGSizeMake(maxWidth, 10000))
                                   : CGSizeMake(kBalloonMinWidth, kBalloonMinHeight);
        CGFloat x = item.fromMe ? width - sideInset - size.width : sideInset;
        placed.push_back({&item, CGRectMake(x, y, size.width, size.height)});
        y += size.height;
    }
    const CGFloat offset = std::min<CGFloat>(visibleHeight - kBalloonSpacingBetweenRuns - y, kTranscriptTopPadding);
    for (Placed& p : placed) {
        p.frame.origin.y += offset;
        if (p.item->header) {
            placeHeader(*p.item->header, width, p.frame.origin.y);
        } else if (p.item->balloon) {
            UI::View* b = p.item->balloon;
            b->setFrame(p.frame);
            // The gradient spans what the transcript shows, so it stays put
            // on the screen while the balloons move over it.
            objc::cast<CK::BalloonView>(b)->setGradientFrame(
                CGRectMake(-p.frame.origin.x, -p.frame.origin.y, width, visibleHeight));
        }
    }
}

void layoutSubviews(id self, SEL cmd) {
    objc::sendSuper<void>(self, "CKTranscriptView"_cls, cmd);
    TranscriptState& s = stateOf(self);
    auto* view = objc::cast<UI::View>(self);
    const CGRect b = view->bounds();
    const CGFloat width = b.size.width;
    const CK::BalloonKind kind = s.conversation->kind;

    const CGFloat top = kTopBarsHeight;
    s.recipientField->setFrame(CGRectMake(0, top, width, kRecipientFieldHeight));
    CGRect to = s.recipientTo->frame();
    s.recipientTo->setFrame(
        CGRectMake(15, std::round((kRecipientFieldHeight - to.size.height) / 2), to.size.width, to.size.height));
    s.recipientName->setTextColor(behaviorColor(kindSelector(kind, "recipientTextColor")));
    CGRect name = s.recipientName->frame();
    s.recipientName->setFrame(CGRectMake(15 + to.size.width + 6,
                                         std::round((kRecipientFieldHeight - name.size.height) / 2),
                                         std::min(name.size.width, width - 36 - to.size.width), name.size.height));
    s.recipientLine->setFrame(CGRectMake(0, kRecipientFieldHeight - 0.5, width, 0.5));

    s.progress->setFrame(CGRectMake(0, top, std::round(width * s.conversation->sendingProgress), kProgressBarHeight));
    s.progress->setBackgroundColor(behaviorColor(kindSelector(kind, "progressViewColor")));

    const CGFloat entryTop = b.size.height - kEntryBarHeight;
    s.entryBar->setFrame(CGRectMake(0, entryTop, width, kEntryBarHeight));
    s.entryBar->setBackgroundColor(behaviorColor("entryFieldCoverFillColor"_sel));
    s.entryLine->setFrame(CGRectMake(0, 0, width, 0.5));
    s.entryField->setFrame(CGRectMake(kEntryFieldInsetX, kEntryFieldInsetY,
                                      width - kEntryFieldInsetX - kSendButtonWidth,
                                      kEntryBarHeight - 2 * kEntryFieldInsetY));
    s.entryField->setBackgroundColor(behaviorColor("entryFieldBackgroundColor"_sel));
    s.entryText->setTextColor(behaviorColor("entryFieldTextColor"_sel));
    CGRect text = s.entryText->frame();
    s.entryText->setFrame(CGRectMake(6, std::round((kEntryBarHeight - 2 * kEntryFieldInsetY - text.size.height) / 2),
                                     text.size.width, text.size.height));
    s.send->setFrame(CGRectMake(width - kSendButtonWidth, 0, kSendButtonWidth, kEntryBarHeight));
    s.send->setTintColor(behaviorColor(kindSelector(kind, "sendButtonColor")));

    const CGFloat contentTop = top + kRecipientFieldHeight;
    const CGFloat contentHeight = std::max<CGFloat>(entryTop - contentTop, 0);
    s.content->setFrame(CGRectMake(0, contentTop, width, contentHeight));
    placeMessages(s, width, contentHeight);
}

}  // namespace

void registerTranscriptView() {
    objc::ClassBuilder("CKTranscriptView", "UIView"_cls)
        .state<TranscriptState>()
        .method("initWithFrame:", &initWithFrame)
        .method("balloons", &balloons)
        .method("sendButton", &sendButton)
        .method("progressView", &progressView)
        .method("entryField", &entryField)
        .method("layoutSubviews", &layoutSubviews)
        .build();
}

}  // namespace chatkit
