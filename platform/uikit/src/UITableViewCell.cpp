#include <UIKit/UIGraphics.h>
#include <UIKit/UITableViewCell.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cmath>

namespace UI {
namespace {

struct CellState {
    UITableViewCellStyle style = UITableViewCellStyleDefault;
    id reuseIdentifier = nil;  // retained copy
    id contentView = nil;      // retained, also a subview
    id textLabel = nil;        // retained, in the content view
    id detailTextLabel = nil;  // retained, in the content view; nil in the default style
    id accessoryView = nil;    // retained, also a subview
    id mark = nil;             // the accessory type's own view, retained, also a subview
    UITableViewCellAccessoryType accessoryType = UITableViewCellAccessoryNone;
    UITableViewCellSelectionStyle selectionStyle = UITableViewCellSelectionStyleDefault;
    bool selected = false;
    bool highlighted = false;
    id background = nil;  // retained; nil is white
    ~CellState() {
        for (id v : {reuseIdentifier, contentView, textLabel, detailTextLabel, accessoryView, mark, background}) {
            objc::release(v);
        }
    }
};

CellState& stateOf(id self) { return objc::state<CellState>(self); }

id makeLabel(CGFloat size, bool bold, id color) {
    id label = objc::send<id>(objc::send<id>("UILabel"_cls, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
    objc::send<void>(label, "setFont:"_sel, detail::systemFont(size, bold));
    if (color != nil) objc::send<void>(label, "setTextColor:"_sel, color);
    return label;
}

id cellBackground(id self) {
    const CellState& s = stateOf(self);
    bool lit = (s.selected || s.highlighted) && s.selectionStyle != UITableViewCellSelectionStyleNone;
    if (lit) return detail::color(metrics::kCellHighlight);
    return s.background != nil ? s.background : objc::asId(Color::whiteColor());
}

void refreshBackground(id self) {
    objc::sendSuper<void>(self, "UITableViewCell"_cls, "setBackgroundColor:"_sel, cellBackground(self));
}

id initWithStyle(id self, SEL, UITableViewCellStyle style, id reuseIdentifier) {
    self = objc::sendSuper<id>(self, "UITableViewCell"_cls, "initWithFrame:"_sel,
                               CGRectMake(0, 0, 320, metrics::kRowHeight));
    if (self == nil) return nil;
    CellState& s = stateOf(self);
    s.style = style;
    s.reuseIdentifier = objc::send<id>(reuseIdentifier, "copy"_sel);
    s.contentView = objc::send<id>(objc::send<id>("UIView"_cls, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
    objc::send<void>(self, "addSubview:"_sel, s.contentView);

    id gray = detail::color(metrics::kSystemGray);
    switch (style) {
    case UITableViewCellStyleValue1:
        s.textLabel = makeLabel(metrics::kCellTextSize, false, nil);
        s.detailTextLabel = makeLabel(metrics::kCellTextSize, false, gray);
        objc::send<void>(s.detailTextLabel, "setTextAlignment:"_sel, NSTextAlignmentRight);
        break;
    case UITableViewCellStyleValue2:
        s.textLabel = makeLabel(metrics::kSubtitleTextSize, true, objc::send<id>(self, "tintColor"_sel));
        objc::send<void>(s.textLabel, "setTextAlignment:"_sel, NSTextAlignmentRight);
        s.detailTextLabel = makeLabel(15, false, nil);
        break;
    case UITableViewCellStyleSubtitle:
        s.textLabel = makeLabel(metrics::kCellTextSize, false, nil);
        s.detailTextLabel = makeLabel(metrics::kSubtitleTextSize, false, nil);
        break;
    default: s.textLabel = makeLabel(metrics::kCellTextSize, false, nil); break;
    }
    objc::send<void>(s.contentView, "addSubview:"_sel, s.textLabel);
    if (s.detailTextLabel != nil) objc::send<void>(s.contentView, "addSubview:"_sel, s.detailTextLabel);
    refreshBackground(self);
    return self;
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = initWithStyle(self, nullptr, UITableViewCellStyleDefault, nil);
    if (self != nil) objc::send<void>(self, "setFrame:"_sel, frame);
    return self;
}

UITableViewCellStyle style(id self, SEL) { return stateOf(self).style; }
id reuseIdentifier(id self, SEL) { return stateOf(self).reuseIdentifier; }
id contentView(id self, SEL) { return stateOf(self).contentView; }
id textLabel(id self, SEL) { return stateOf(self).textLabel; }
id detailTextLabel(id self, SEL) { return stateOf(self).detailTextLabel; }

id accessoryView(id self, SEL) { return stateOf(self).accessoryView; }
void setAccessoryView(id self, SEL, id view) {
    CellState& s = stateOf(self);
    if (view == s.accessoryView) return;
    objc::retain(view);
    if (s.accessoryView != nil) {
        if (objc::send<id>(s.accessoryView, "superview"_sel) == self) {
            objc::send<void>(s.accessoryView, "removeFromSuperview"_sel);
        }
        objc::release(s.accessoryView);
    }
    s.accessoryView = view;
    if (view != nil) objc::send<void>(self, "addSubview:"_sel, view);
    if (s.mark != nil) objc::send<void>(s.mark, "setHidden:"_sel, view != nil ? YES : NO);
    objc::send<void>(self, "setNeedsLayout"_sel);
}

// --- accessory marks ----------------------------------------------------------

void drawDisclosure(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect b = objc::send<CGRect>(self, "bounds"_sel);
    detail::strokeChevron(c, CGRectInset(b, 0.5, 0.5), false, 2, detail::color(metrics::kDisclosure));
}

void drawCheckmark(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGRect b = objc::send<CGRect>(self, "bounds"_sel);
    CGFloat rgba[4];
    detail::componentsOf(objc::send<id>(self, "tintColor"_sel), rgba);
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

void tintChanged(id self, SEL) { objc::send<void>(self, "setNeedsDisplay"_sel); }

id makeMark(UITableViewCellAccessoryType type) {
    const char* cls = nullptr;
    CGSize size = CGSizeZero;
    if (type == UITableViewCellAccessoryDisclosureIndicator || type == UITableViewCellAccessoryDetailDisclosureButton) {
        cls = "_UITableViewCellDisclosureIndicator";
        size = CGSizeMake(metrics::kDisclosureWidth, metrics::kDisclosureHeight);
    } else if (type == UITableViewCellAccessoryCheckmark) {
        cls = "_UITableViewCellCheckmark";
        size = CGSizeMake(14, 11);
    } else {
        return nil;
    }
    id mark = objc::send<id>(objc::send<id>(objc_getClass(cls), "alloc"_sel), "initWithFrame:"_sel,
                             CGRectMake(0, 0, size.width, size.height));
    objc::send<void>(mark, "setOpaque:"_sel, NO);
    objc::send<void>(mark, "setUserInteractionEnabled:"_sel, NO);
    return mark;
}

UITableViewCellAccessoryType accessoryType(id self, SEL) { return stateOf(self).accessoryType; }
void setAccessoryType(id self, SEL, UITableViewCellAccessoryType type) {
    CellState& s = stateOf(self);
    if (type == s.accessoryType) return;
    s.accessoryType = type;
    if (s.mark != nil) {
        objc::send<void>(s.mark, "removeFromSuperview"_sel);
        objc::release(s.mark);
    }
    s.mark = makeMark(type);
    if (s.mark != nil) {
        objc::send<void>(s.mark, "setHidden:"_sel, s.accessoryView != nil ? YES : NO);
        objc::send<void>(self, "addSubview:"_sel, s.mark);
    }
    objc::send<void>(self, "setNeedsLayout"_sel);
}

// --- selection ----------------------------------------------------------------

UITableViewCellSelectionStyle selectionStyle(id self, SEL) { return stateOf(self).selectionStyle; }
void setSelectionStyle(id self, SEL, UITableViewCellSelectionStyle style) {
    stateOf(self).selectionStyle = style;
    refreshBackground(self);
}
BOOL isSelected(id self, SEL) { return stateOf(self).selected; }
void setSelectedAnimated(id self, SEL, BOOL selected, BOOL) {
    stateOf(self).selected = selected;
    refreshBackground(self);
}
void setSelected(id self, SEL, BOOL selected) { objc::send<void>(self, "setSelected:animated:"_sel, selected, NO); }
BOOL isHighlighted(id self, SEL) { return stateOf(self).highlighted; }
void setHighlightedAnimated(id self, SEL, BOOL highlighted, BOOL) {
    stateOf(self).highlighted = highlighted;
    refreshBackground(self);
}
void setHighlighted(id self, SEL, BOOL highlighted) {
    objc::send<void>(self, "setHighlighted:animated:"_sel, highlighted, NO);
}

// The table the cell is placed in, if any.
id tableOf(id self) {
    for (id v = objc::send<id>(self, "superview"_sel); v != nil; v = objc::send<id>(v, "superview"_sel)) {
        if (objc::send<BOOL>(v, "isKindOfClass:"_sel, "UITableView"_cls)) return v;
    }
    return nil;
}

bool fingerInside(id self, id touches) {
    id touch = objc::send<id>(touches, "anyObject"_sel);
    CGPoint p = objc::send<CGPoint>(touch, "locationInView:"_sel, self);
    return objc::send<BOOL>(self, "pointInside:withEvent:"_sel, p, nil);
}

// A finger on a cell also drags the table it is in: the table hears the
// touch as its own, and once the finger drags the cell is no longer tapped.
void passToTable(id self, SEL cmd, id touches, id event) {
    if (id table = tableOf(self)) objc::send<void>(table, cmd, touches, event);
}
bool tableIsDragging(id self) {
    id table = tableOf(self);
    return table != nil && objc::send<BOOL>(table, "isDragging"_sel);
}

void touchesBegan(id self, SEL cmd, id touches, id event) {
    objc::send<void>(self, "setHighlighted:animated:"_sel, YES, NO);
    passToTable(self, cmd, touches, event);
}
void touchesMoved(id self, SEL cmd, id touches, id event) {
    passToTable(self, cmd, touches, event);
    if (tableIsDragging(self) || !fingerInside(self, touches))
        objc::send<void>(self, "setHighlighted:animated:"_sel, NO, NO);
}
// A cell whose selection style is none still selects its row; it only does
// not light up.
void touchesEnded(id self, SEL cmd, id touches, id event) {
    bool tapped = stateOf(self).highlighted && fingerInside(self, touches) && !tableIsDragging(self);
    objc::send<void>(self, "setHighlighted:animated:"_sel, NO, NO);
    passToTable(self, cmd, touches, event);
    if (!tapped) return;
    if (id table = tableOf(self)) objc::send<void>(table, "_cellTapped:"_sel, self);
}
void touchesCancelled(id self, SEL cmd, id touches, id event) {
    objc::send<void>(self, "setHighlighted:animated:"_sel, NO, NO);
    passToTable(self, cmd, touches, event);
}

// The colour given is the cell's resting colour; the highlight covers it
// while the cell is pressed or selected.
void setBackgroundColor(id self, SEL, id color) {
    CellState& s = stateOf(self);
    objc::retain(color);
    objc::release(s.background);
    s.background = color;
    refreshBackground(self);
}

// --- layout -------------------------------------------------------------------

CGSize fitted(id label, CGSize room) {
    if (label == nil || objc::send<id>(label, "text"_sel) == nil) return CGSizeZero;
    return objc::send<CGSize>(label, "sizeThatFits:"_sel, room);
}

void layoutSubviews(id self, SEL) {
    CellState& s = stateOf(self);
    CGRect b = objc::send<CGRect>(self, "bounds"_sel);
    const CGFloat W = b.size.width, H = b.size.height;

    id accessory = s.accessoryView != nil ? s.accessoryView : s.mark;
    CGFloat contentWidth = W, right = W - metrics::kCellMargin;
    if (accessory != nil) {
        CGSize size = objc::send<CGRect>(accessory, "frame"_sel).size;
        CGFloat x = W - metrics::kAccessoryMargin - size.width;
        objc::send<void>(accessory, "setFrame:"_sel,
                         CGRectMake(x, std::round((H - size.height) / 2), size.width, size.height));
        contentWidth = std::fmax(x - 5, 0);
        right = contentWidth - 5;
    }
    objc::send<void>(s.contentView, "setFrame:"_sel, CGRectMake(0, 0, contentWidth, H));

    const CGFloat left = metrics::kCellMargin;
    const CGFloat room = std::fmax(right - left, 0);
    switch (s.style) {
    case UITableViewCellStyleValue1: {
        CGSize detail = fitted(s.detailTextLabel, CGSizeMake(room, H));
        detail.width = std::fmin(detail.width, room);
        objc::send<void>(s.detailTextLabel, "setFrame:"_sel, CGRectMake(right - detail.width, 0, detail.width, H));
        CGFloat textRoom = std::fmax(room - detail.width - (detail.width > 0 ? 8 : 0), 0);
        CGSize text = fitted(s.textLabel, CGSizeMake(textRoom, H));
        objc::send<void>(s.textLabel, "setFrame:"_sel, CGRectMake(left, 0, std::fmin(text.width, textRoom), H));
        break;
    }
    case UITableViewCellStyleValue2: {
        const CGFloat column = 67, gap = 6;
        objc::send<void>(s.textLabel, "setFrame:"_sel, CGRectMake(left, 0, column, H));
        objc::send<void>(s.detailTextLabel, "setFrame:"_sel,
                         CGRectMake(left + column + gap, 0, std::fmax(room - column - gap, 0), H));
        break;
    }
    case UITableViewCellStyleSubtitle: {
        CGSize text = fitted(s.textLabel, CGSizeMake(room, H));
        CGSize detail = fitted(s.detailTextLabel, CGSizeMake(room, H));
        if (detail.height <= 0) {
            objc::send<void>(s.textLabel, "setFrame:"_sel, CGRectMake(left, 0, room, H));
            objc::send<void>(s.detailTextLabel, "setFrame:"_sel, CGRectMake(left, H, room, 0));
            break;
        }
        CGFloat top = std::round((H - text.height - detail.height) / 2);
        objc::send<void>(s.textLabel, "setFrame:"_sel, CGRectMake(left, top, room, text.height));
        objc::send<void>(s.detailTextLabel, "setFrame:"_sel, CGRectMake(left, top + text.height, room, detail.height));
        break;
    }
    default: objc::send<void>(s.textLabel, "setFrame:"_sel, CGRectMake(left, 0, room, H)); break;
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
