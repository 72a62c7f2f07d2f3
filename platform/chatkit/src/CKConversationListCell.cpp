// CKConversationListCell: one row of the conversation list. Whether it shows
// the contact photo is asked from CKUIBehavior at every layout.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKUIBehavior.h>
#include <ChatKit/SampleConversation.h>
#include <Foundation/NSString.h>
#include <UIKit/UILabel.h>

#include <algorithm>
#include <cmath>

namespace chatkit {
namespace {

using namespace metrics;

struct CellState {
    UI::Label* name = nullptr;
    UI::Label* preview = nullptr;
    UI::Label* date = nullptr;
    UI::Label* chevron = nullptr;
    UI::View* photo = nullptr;
    UI::Label* initials = nullptr;
    UI::View* separator = nullptr;
    SEL action = nullptr;
    id target = nil;  // not retained
};

CellState& stateOf(objc::AnyObject self) { return objc::state<CellState>(self); }

NS::String* ns(const std::string& text) { return NS::String::stringWithUTF8String(text.c_str()); }

template <class T>
T* add(UI::View* parent, T* created) {
    parent->addSubview(created);
    objc::release(created);
    return created;
}

UI::Label* addLabel(UI::View* parent, UI::Font* font, UI::Color* color) {
    auto* label = add(parent, UI::Label::alloc()->initWithFrame(CGRectZero));
    label->setFont(font);
    label->setTextColor(color);
    return label;
}

id initWithFrame(id self, SEL cmd, CGRect frame) {
    self = objc::sendSuper<id>(self, "CKConversationListCell"_cls, cmd, frame);
    if (self == nil) return nil;
    auto* view = objc::cast<UI::View>(self);
    CellState& s = stateOf(self);
    UI::Color* secondary = UI::Color::colorWithWhite(kSecondaryTextGray, 1);
    s.photo = add(view, UI::View::alloc()->initWithFrame(CGRectZero));
    s.photo->setBackgroundColor(UI::Color::colorWithRed(0xB3 / 255.0, 0xB6 / 255.0, 0xBD / 255.0, 1));
    s.photo->layer()->setCornerRadius(kListPhotoSize / 2);
    s.photo->layer()->setMasksToBounds(YES);
    s.initials = addLabel(s.photo, UI::Font::systemFontOfSize(kListInitialsSize), UI::Color::whiteColor());
    s.initials->setTextAlignment(UI::NSTextAlignmentCenter);
    s.name = addLabel(view, UI::Font::boldSystemFontOfSize(kListNameSize), UI::Color::blackColor());
    s.preview = addLabel(view, UI::Font::systemFontOfSize(kListPreviewSize), secondary);
    s.preview->setNumberOfLines(2);
    s.date = addLabel(view, UI::Font::systemFontOfSize(kListDateSize), secondary);
    s.date->setTextAlignment(UI::NSTextAlignmentRight);
    s.chevron = addLabel(view, UI::Font::systemFontOfSize(kListDateSize), UI::Color::colorWithWhite(0.78, 1));
    s.chevron->setText("\u203A"_ns);
    s.separator = add(view, UI::View::alloc()->initWithFrame(CGRectZero));
    s.separator->setBackgroundColor(UI::Color::colorWithWhite(kSeparatorGray, 1));
    return self;
}

void layoutSubviews(id self, SEL cmd) {
    objc::sendSuper<void>(self, "CKConversationListCell"_cls, cmd);
    CellState& s = stateOf(self);
    const CGRect b = objc::cast<UI::View>(self)->bounds();
    const bool photos = behaviorShowsContactPhotos();

    s.photo->setHidden(!photos);
    s.photo->setFrame(
        CGRectMake(kListPhotoInset, std::round((b.size.height - kListPhotoSize) / 2), kListPhotoSize, kListPhotoSize));
    s.initials->setFrame(CGRectMake(0, 0, kListPhotoSize, kListPhotoSize));
    const CGFloat textX = photos ? kListPhotoInset + kListPhotoSize + kListPhotoGap : kListTextInset;

    s.chevron->sizeToFit();
    CGRect chevron = s.chevron->frame();
    const CGFloat right = b.size.width - kListRightInset;
    s.chevron->setFrame(CGRectMake(right - chevron.size.width, 11, chevron.size.width, chevron.size.height));
    s.date->sizeToFit();
    CGRect date = s.date->frame();
    const CGFloat dateRight = right - chevron.size.width - 6;
    s.date->setFrame(CGRectMake(dateRight - date.size.width, 12, date.size.width, date.size.height));

    s.name->sizeToFit();
    CGRect name = s.name->frame();
    s.name->setFrame(
        CGRectMake(textX, 10, std::min(name.size.width, dateRight - date.size.width - 8 - textX), name.size.height));
    // Up to two lines under the name, from the top.
    const CGFloat previewWidth = right - textX;
    CGSize preview = s.preview->sizeThatFits(CGSizeMake(previewWidth, 40));
    s.preview->setFrame(
        CGRectMake(textX, 10 + name.size.height + 1, previewWidth, std::min<CGFloat>(preview.height, 40)));
    s.separator->setFrame(CGRectMake(textX, b.size.height - 0.5, b.size.width - textX, 0.5));
}

void touchesEnded(id self, SEL, id, id) {
    CellState& s = stateOf(self);
    if (s.target && s.action) objc::send<void>(s.target, s.action, self);
}

}  // namespace

UI::View* newConversationListCell(const SampleListRow& row, id target, SEL action) {
    auto* cell = objc::send<UI::View*>(objc::send<id>("CKConversationListCell"_cls, "alloc"_sel), "initWithFrame:"_sel,
                                       CGRectZero);
    CellState& s = stateOf(cell);
    s.name->setText(ns(row.name));
    s.preview->setText(ns(row.preview));
    s.date->setText(ns(row.date));
    s.initials->setText(ns(initials(row.name)));
    s.target = target;
    s.action = action;
    cell->setBackgroundColor(UI::Color::whiteColor());
    return cell;
}

void registerConversationListCell() {
    objc::ClassBuilder("CKConversationListCell", "UIView"_cls)
        .state<CellState>()
        .method("initWithFrame:", &initWithFrame)
        .method("layoutSubviews", &layoutSubviews)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .build();
}

}  // namespace chatkit
