#include <UIKit/UIFont.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UITouch.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cmath>

namespace UI {
namespace {

struct CellState {
    UITableViewCellStyle style = UITableViewCellStyleDefault;
    Ref<NS::String> reuseIdentifier;  // a copy of the string given
    Ref<View> contentView;            // also a subview
    Ref<Label> textLabel;             // in the content view
    Ref<Label> detailTextLabel;       // in the content view; nil in the default style
    Ref<View> accessoryView;          // also a subview
    Ref<View> mark;                   // the accessory type's own view, also a subview
    UITableViewCellAccessoryType accessoryType = UITableViewCellAccessoryNone;
    UITableViewCellSelectionStyle selectionStyle = UITableViewCellSelectionStyleDefault;
    bool selected = false;
    bool highlighted = false;
    Ref<Color> background;  // nil is white
};

CellState& stateOf(objc::AnyObject self) { return objc::state<CellState>(self); }

Ref<Label> makeLabel(CGFloat size, bool bold, Color* color) {
    Ref<Label> label = objc::adopt(Label::alloc()->initWithFrame(CGRectZero));
    label->setFont(objc::cast<Font>(detail::systemFont(size, bold)));
    if (color != nullptr) label->setTextColor(color);
    return label;
}

Color* cellBackground(TableViewCell* self) {
    const CellState& s = stateOf(self);
    bool lit = (s.selected || s.highlighted) && s.selectionStyle != UITableViewCellSelectionStyleNone;
    if (lit) return objc::cast<Color>(detail::color(metrics::kCellHighlight));
    return s.background ? s.background.get() : Color::whiteColor();
}

void refreshBackground(TableViewCell* self) {
    objc::sendSuper<void>(self, "UITableViewCell"_cls, "setBackgroundColor:"_sel, cellBackground(self));
}

TableViewCell* initWithStyle(TableViewCell* self, SEL, UITableViewCellStyle style, NS::String* reuseIdentifier) {
    self = objc::sendSuper<TableViewCell*>(self, "UITableViewCell"_cls, "initWithFrame:"_sel,
                                           CGRectMake(0, 0, 320, metrics::kRowHeight));
    if (self == nullptr) return nullptr;
    CellState& s = stateOf(self);
    s.style = style;
    s.reuseIdentifier = objc::copyOf(reuseIdentifier);
    s.contentView = objc::adopt(View::alloc()->initWithFrame(CGRectZero));
    self->addSubview(s.contentView);

    Color* gray = objc::cast<Color>(detail::color(metrics::kSystemGray));
    switch (style) {
    case UITableViewCellStyleValue1:
        s.textLabel = makeLabel(metrics::kCellTextSize, false, nullptr);
        s.detailTextLabel = makeLabel(metrics::kCellTextSize, false, gray);
        s.detailTextLabel->setTextAlignment(NSTextAlignmentRight);
        break;
    case UITableViewCellStyleValue2:
        s.textLabel = makeLabel(metrics::kSubtitleTextSize, true, self->tintColor());
        s.textLabel->setTextAlignment(NSTextAlignmentRight);
        s.detailTextLabel = makeLabel(15, false, nullptr);
        break;
    case UITableViewCellStyleSubtitle:
        s.textLabel = makeLabel(metrics::kCellTextSize, false, nullptr);
        s.detailTextLabel = makeLabel(metrics::kSubtitleTextSize, false, nullptr);
        break;
    default: s.textLabel = makeLabel(metrics::kCellTextSize, false, nullptr); break;
    }
    s.contentView->addSubview(s.textLabel);
    if (s.detailTextLabel) s.contentView->addSubview(s.detailTextLabel);
    refreshBackground(self);
    return self;
}

TableViewCell* initWithFrame(TableViewCell* self, SEL, CGRect frame) {
    self = initWithStyle(self, nullptr, UITableViewCellStyleDefault, nullptr);
    if (self != nullptr) self->setFrame(frame);
    return self;
}

UITableViewCellStyle style(id self, SEL) { return stateOf(self).style; }
NS::String* reuseIdentifier(id self, SEL) { return stateOf(self).reuseIdentifier; }
View* contentView(id self, SEL) { return stateOf(self).contentView; }
Label* textLabel(id self, SEL) { return stateOf(self).textLabel; }
Label* detailTextLabel(id self, SEL) { return stateOf(self).detailTextLabel; }

View* accessoryView(id self, SEL) { return stateOf(self).accessoryView; }
void setAccessoryView(TableViewCell* self, SEL, View* view) {
    CellState& s = stateOf(self);
    if (view == s.accessoryView) return;
    if (s.accessoryView && s.accessoryView->superview() == self) s.accessoryView->removeFromSuperview();
    s.accessoryView = view;
    if (view != nullptr) self->addSubview(view);
    if (s.mark) s.mark->setHidden(view != nullptr ? YES : NO);
    self->setNeedsLayout();
}

// --- accessory marks ----------------------------------------------------------

void drawDisclosure(View* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect b = self->bounds();
    detail::strokeChevron(c, CGRectInset(b, 0.5, 0.5), false, 2, detail::color(metrics::kDisclosure));
}

void drawCheckmark(View* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect b = self->bounds();
    CGFloat rgba[4];
    detail::componentsOf(objc::asId(self->tintColor()), rgba);
    CGContextSetRGBStrokeColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextSetLineWidth(c, 2);
    CGContextSetLineCap(c, kCGLineCapRound);
    CGContextSetLineJoin(c, kCGLineJoinRound);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, b.origin.x + 1, b.origin.y + b.size.height * 0.55);
    CGContextAddLineToPoint(c, b.origin.x + b.size.width * 0.38, b.origin.y + b.size.height - 1);
    CGContextAddLineToPoint(c, b.origin.x + b.size.width - 1, b.origin.y + 1);
    CGContextStrokePath(c);
}

void tintChanged(View* self, SEL) { self->setNeedsDisplay(); }

Ref<View> makeMark(UITableViewCellAccessoryType type) {
    const char* cls = nullptr;
    CGSize size = CGSizeZero;
    if (type == UITableViewCellAccessoryDisclosureIndicator || type == UITableViewCellAccessoryDetailDisclosureButton) {
        cls = "_UITableViewCellDisclosureIndicator";
        size = CGSizeMake(metrics::kDisclosureWidth, metrics::kDisclosureHeight);
    } else if (type == UITableViewCellAccessoryCheckmark) {
        cls = "_UITableViewCellCheckmark";
        size = CGSizeMake(14, 11);
    } else {
        return nullptr;
    }
    // The marks' classes are private to this file: they have no wrapper.
    Ref<View> mark = objc::adopt(
        objc::send<View*>(objc_getClass(cls), "alloc"_sel)->initWithFrame(CGRectMake(0, 0, size.width, size.height)));
    mark->setOpaque(NO);
    mark->setUserInteractionEnabled(NO);
    return mark;
}

UITableViewCellAccessoryType accessoryType(id self, SEL) { return stateOf(self).accessoryType; }
void setAccessoryType(TableViewCell* self, SEL, UITableViewCellAccessoryType type) {
    CellState& s = stateOf(self);
    if (type == s.accessoryType) return;
    s.accessoryType = type;
    if (s.mark) s.mark->removeFromSuperview();
    s.mark = makeMark(type);
    if (s.mark) {
        s.mark->setHidden(s.accessoryView ? YES : NO);
        self->addSubview(s.mark);
    }
    self->setNeedsLayout();
}

// --- selection ----------------------------------------------------------------

UITableViewCellSelectionStyle selectionStyle(id self, SEL) { return stateOf(self).selectionStyle; }
void setSelectionStyle(TableViewCell* self, SEL, UITableViewCellSelectionStyle style) {
    stateOf(self).selectionStyle = style;
    refreshBackground(self);
}
BOOL isSelected(id self, SEL) { return stateOf(self).selected; }
void setSelectedAnimated(TableViewCell* self, SEL, BOOL selected, BOOL) {
    stateOf(self).selected = selected;
    refreshBackground(self);
}
void setSelected(TableViewCell* self, SEL, BOOL selected) { self->setSelected(selected, NO); }
BOOL isHighlighted(id self, SEL) { return stateOf(self).highlighted; }
void setHighlightedAnimated(TableViewCell* self, SEL, BOOL highlighted, BOOL) {
    stateOf(self).highlighted = highlighted;
    refreshBackground(self);
}
void setHighlighted(TableViewCell* self, SEL, BOOL highlighted) { self->setHighlighted(highlighted, NO); }

// The table the cell is placed in, if any.
TableView* tableOf(TableViewCell* self) {
    for (View* v = self->superview(); v != nullptr; v = v->superview()) {
        if (v->isKindOfClass("UITableView"_cls)) return objc::cast<TableView>(v);
    }
    return nullptr;
}

// Whether the touch is over the cell; a set without a touch asks about the
// cell's origin.
bool fingerInside(TableViewCell* self, TouchSet* touches) {
    Touch* touch = touches != nullptr ? touches->anyObject() : nullptr;
    CGPoint p = touch != nullptr ? touch->locationInView(self) : CGPointZero;
    return self->pointInside(p, nullptr);
}

// A finger on a cell also drags the table it is in: the table hears the
// touch as its own, and once the finger drags the cell is no longer tapped.
// The table hears the same touch message as the cell (`cmd`).
void passToTable(TableViewCell* self, SEL cmd, TouchSet* touches, Event* event) {
    if (TableView* table = tableOf(self)) objc::send<void>(table, cmd, touches, event);
}
bool tableIsDragging(TableViewCell* self) {
    TableView* table = tableOf(self);
    return table != nullptr && table->isDragging();
}

void touchesBegan(TableViewCell* self, SEL cmd, TouchSet* touches, Event* event) {
    self->setHighlighted(YES, NO);
    passToTable(self, cmd, touches, event);
}
void touchesMoved(TableViewCell* self, SEL cmd, TouchSet* touches, Event* event) {
    passToTable(self, cmd, touches, event);
    if (tableIsDragging(self) || !fingerInside(self, touches)) self->setHighlighted(NO, NO);
}
// A cell whose selection style is none still selects its row; it only does
// not light up.
void touchesEnded(TableViewCell* self, SEL cmd, TouchSet* touches, Event* event) {
    bool tapped = stateOf(self).highlighted && fingerInside(self, touches) && !tableIsDragging(self);
    self->setHighlighted(NO, NO);
    passToTable(self, cmd, touches, event);
    if (!tapped) return;
    if (TableView* table = tableOf(self)) table->_cellTapped(self);
}
void touchesCancelled(TableViewCell* self, SEL cmd, TouchSet* touches, Event* event) {
    self->setHighlighted(NO, NO);
    passToTable(self, cmd, touches, event);
}

// The colour given is the cell's resting colour; the highlight covers it
// while the cell is pressed or selected.
void setBackgroundColor(TableViewCell* self, SEL, Color* color) {
    stateOf(self).background = color;
    refreshBackground(self);
}

// --- layout -------------------------------------------------------------------

CGSize fitted(Label* label, CGSize room) {
    if (label == nullptr || label->text() == nullptr) return CGSizeZero;
    return label->sizeThatFits(room);
}

void layoutSubviews(TableViewCell* self, SEL) {
    CellState& s = stateOf(self);
    if (!s.contentView) return;  // not made yet: laid out once it is
    CGRect b = self->bounds();
    const CGFloat W = b.size.width, H = b.size.height;

    View* accessory = s.accessoryView ? s.accessoryView.get() : s.mark.get();
    CGFloat contentWidth = W, right = W - metrics::kCellMargin;
    if (accessory != nullptr) {
        CGSize size = accessory->frame().size;
        CGFloat x = W - metrics::kAccessoryMargin - size.width;
        accessory->setFrame(CGRectMake(x, std::round((H - size.height) / 2), size.width, size.height));
        contentWidth = std::fmax(x - 5, 0);
        right = contentWidth - 5;
    }
    s.contentView->setFrame(CGRectMake(0, 0, contentWidth, H));

    const CGFloat left = metrics::kCellMargin;
    const CGFloat room = std::fmax(right - left, 0);
    switch (s.style) {
    case UITableViewCellStyleValue1: {
        CGSize detail = fitted(s.detailTextLabel, CGSizeMake(room, H));
        detail.width = std::fmin(detail.width, room);
        s.detailTextLabel->setFrame(CGRectMake(right - detail.width, 0, detail.width, H));
        CGFloat textRoom = std::fmax(room - detail.width - (detail.width > 0 ? 8 : 0), 0);
        CGSize text = fitted(s.textLabel, CGSizeMake(textRoom, H));
        s.textLabel->setFrame(CGRectMake(left, 0, std::fmin(text.width, textRoom), H));
        break;
    }
    case UITableViewCellStyleValue2: {
        const CGFloat column = 67, gap = 6;
        s.textLabel->setFrame(CGRectMake(left, 0, column, H));
        s.detailTextLabel->setFrame(CGRectMake(left + column + gap, 0, std::fmax(room - column - gap, 0), H));
        break;
    }
    case UITableViewCellStyleSubtitle: {
        CGSize text = fitted(s.textLabel, CGSizeMake(room, H));
        CGSize detail = fitted(s.detailTextLabel, CGSizeMake(room, H));
        if (detail.height <= 0) {
            s.textLabel->setFrame(CGRectMake(left, 0, room, H));
            s.detailTextLabel->setFrame(CGRectMake(left, H, room, 0));
            break;
        }
        CGFloat top = std::round((H - text.height - detail.height) / 2);
        s.textLabel->setFrame(CGRectMake(left, top, room, text.height));
        s.detailTextLabel->setFrame(CGRectMake(left, top + text.height, room, detail.height));
        break;
    }
    default: s.textLabel->setFrame(CGRectMake(left, 0, room, H)); break;
    }
}

}  // namespace

void registerTableViewCell() {
    objc::ClassBuilder("_UITableViewCellDisclosureIndicator", "UIView"_cls)
        .method("drawRect:", &drawDisclosure)
        .build();
    objc::ClassBuilder("_UITableViewCellCheckmark", "UIView"_cls)
        .method("drawRect:", &drawCheckmark)
        .method("tintColorDidChange", &tintChanged)
        .build();
    objc::ClassBuilder("UITableViewCell", "UIView"_cls)
        .state<CellState>()
        .method("initWithStyle:reuseIdentifier:", &initWithStyle)
        .method("initWithFrame:", &initWithFrame)
        .method("style", &style)
        .method("reuseIdentifier", &reuseIdentifier)
        .method("contentView", &contentView)
        .method("textLabel", &textLabel)
        .method("detailTextLabel", &detailTextLabel)
        .method("accessoryView", &accessoryView)
        .method("setAccessoryView:", &setAccessoryView)
        .method("accessoryType", &accessoryType)
        .method("setAccessoryType:", &setAccessoryType)
        .method("selectionStyle", &selectionStyle)
        .method("setSelectionStyle:", &setSelectionStyle)
        .method("isSelected", &isSelected)
        .method("setSelected:", &setSelected)
        .method("setSelected:animated:", &setSelectedAnimated)
        .method("isHighlighted", &isHighlighted)
        .method("setHighlighted:", &setHighlighted)
        .method("setHighlighted:animated:", &setHighlightedAnimated)
        .method("setBackgroundColor:", &setBackgroundColor)
        .method("touchesBegan:withEvent:", &touchesBegan)
        .method("touchesMoved:withEvent:", &touchesMoved)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .method("touchesCancelled:withEvent:", &touchesCancelled)
        .method("layoutSubviews", &layoutSubviews)
        .build();
}

}  // namespace UI
