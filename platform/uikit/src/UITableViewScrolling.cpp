// UITableView's scrolling: the content offset and inset, scrolling a row
// into view, and dragging the content with a finger.
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>

#include "TableViewState.h"

#include <cmath>

namespace UI {
namespace {

using detail::loadTableIfNeeded;
using detail::Row;
using detail::tableRowAt;
using detail::TableState;

TableState& stateOf(objc::AnyObject self) { return detail::tableStateOf(self); }

// --- scrolling ----------------------------------------------------------------

CGPoint contentOffset(TableView* self, SEL) { return self->bounds().origin; }

void setContentOffset(TableView* self, SEL, CGPoint offset) {
    CGRect b = self->bounds();
    b.origin = offset;
    self->setBounds(b);
}

void setContentOffsetAnimated(TableView* self, SEL, CGPoint offset, BOOL animated) {
    if (!animated) {
        self->setContentOffset(offset);
        return;
    }
    Ref<TableView> me(self);
    View::animateWithDuration(0.3, 0, UIViewAnimationOptionCurveEaseInOut,
                              [me, offset] { me->setContentOffset(offset); });
}

// --- dragging ------------------------------------------------------------------

// How far a finger moves before it drags rather than taps (estimate).
constexpr CGFloat kDragThreshold = 10;

// The finger's height in window points; 0 without a touch.
CGFloat fingerY(TouchSet* touches) {
    Touch* touch = touches != nullptr ? touches->anyObject() : nullptr;
    return touch != nullptr ? touch->locationInView(nullptr).y : 0;
}

void touchesBegan(TableView* self, SEL, TouchSet* touches, Event*) {
    TableState& s = stateOf(self);
    s.drag = {true, false, fingerY(touches), self->bounds().origin.y};
}

// The content follows the finger, never above its first row nor past its
// last, as scrollToRowAtIndexPath: keeps it.
void touchesMoved(TableView* self, SEL, TouchSet* touches, Event*) {
    TableState& s = stateOf(self);
    if (!s.drag.tracking) return;
    const CGFloat dy = s.drag.startY - fingerY(touches);
    if (!s.drag.dragging && std::fabs(dy) < kDragThreshold) return;
    s.drag.dragging = true;
    loadTableIfNeeded(self);
    const CGRect b = self->bounds();
    const CGFloat visible = b.size.height - s.inset.top - s.inset.bottom;
    CGFloat top = s.drag.startOffset + dy + s.inset.top;
    top = std::fmin(top, std::fmax(s.contentSize.height - visible, 0));
    top = std::fmax(top, 0);
    setContentOffset(self, nullptr, CGPointMake(b.origin.x, top - s.inset.top));
}

void touchesEnded(id self, SEL, id, id) { stateOf(self).drag = {}; }

BOOL isDragging(id self, SEL) { return stateOf(self).drag.dragging ? YES : NO; }

CGSize contentSize(TableView* self, SEL) {
    loadTableIfNeeded(self);
    return stateOf(self).contentSize;
}

UIEdgeInsets contentInset(id self, SEL) { return stateOf(self).inset; }
void setContentInset(id self, SEL, UIEdgeInsets insets) { stateOf(self).inset = insets; }

void scrollToRow(TableView* self, SEL, NS::IndexPath* indexPath, UITableViewScrollPosition position, BOOL animated) {
    loadTableIfNeeded(self);
    const Row* r = tableRowAt(self, indexPath);
    if (r == nullptr) return;
    const TableState& s = stateOf(self);
    CGRect b = self->bounds();
    const CGFloat visible = b.size.height - s.inset.top - s.inset.bottom;
    CGFloat top = b.origin.y + s.inset.top;  // the content y at the top of the visible area
    switch (position) {
    case UITableViewScrollPositionTop: top = r->y; break;
    case UITableViewScrollPositionMiddle: top = r->y + r->height / 2 - visible / 2; break;
    case UITableViewScrollPositionBottom: top = r->y + r->height - visible; break;
    default:
        // Only as far as needed to show the whole row.
        if (r->y < top)
            top = r->y;
        else if (r->y + r->height > top + visible)
            top = r->y + r->height - visible;
        break;
    }
    // Within the content: never above its start, never past its end.
    top = std::fmin(top, std::fmax(s.contentSize.height - visible, 0));
    top = std::fmax(top, 0);
    setContentOffsetAnimated(self, nullptr, CGPointMake(b.origin.x, top - s.inset.top), animated);
}

}  // namespace

namespace detail {

void addTableScrollingMethods(objc::ClassBuilder& builder) {
    builder.method("contentOffset", &contentOffset)
        .method("setContentOffset:", &setContentOffset)
        .method("setContentOffset:animated:", &setContentOffsetAnimated)
        .method("contentSize", &contentSize)
        .method("contentInset", &contentInset)
        .method("setContentInset:", &setContentInset)
        .method("scrollToRowAtIndexPath:atScrollPosition:animated:", &scrollToRow)
        .method("touchesBegan:withEvent:", &touchesBegan)
        .method("touchesMoved:withEvent:", &touchesMoved)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .method("touchesCancelled:withEvent:", &touchesEnded)
        .method("isDragging", &isDragging);
}

}  // namespace detail
}  // namespace UI
