// UITableView: rows in sections, asked of a data source and a delegate
// (neither retained) through the runtime:
//
//   data source  numberOfSectionsInTableView: (1 when not answered),
//                tableView:numberOfRowsInSection:, tableView:cellForRowAtIndexPath:,
//                tableView:titleForHeaderInSection:, tableView:titleForFooterInSection:
//   delegate     tableView:heightForRowAtIndexPath: (rowHeight when not
//                answered), tableView:willSelectRowAtIndexPath:,
//                tableView:didSelectRowAtIndexPath:
//
// Every row's cell is placed at once (tables here are short), so every cell
// a table shows is its subview. reloadData takes every placed cell out of
// the table and places the cells the data source gives now, so each cell's
// didMoveToSuperview runs on every reload, even for a cell given again. The
// table loads its rows at its first layout when reloadData has not run.
//
// The grouped style draws the Settings look: a #EFEFF4 background, sections
// of white 44-point rows about 35 points apart, separators #C8C7CC inset 15
// points within a section and across the full width above and below it,
// header titles in upper case and footer titles in #6D6D72. The plain style
// stacks the rows without gaps.
//
// The table scrolls by its content offset (the origin of its bounds) and
// clips to its bounds; scripts reach rows below the screen with
// scrollToRowAtIndexPath:atScrollPosition:animated: or setContentOffset:. A
// finger drags it, on a cell or between them: once it has moved 10 points
// the content follows it (never above the first row nor past the last),
// isDragging answers YES until it lifts, and the cell it went down on is not
// tapped.
#pragma once

#include <UIKit/NSIndexPath.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UIView.h>

namespace NS {
class Array;
}

namespace UI {

using UITableViewStyle = NSInteger;
inline constexpr UITableViewStyle UITableViewStylePlain = 0;
inline constexpr UITableViewStyle UITableViewStyleGrouped = 1;

using UITableViewScrollPosition = NSInteger;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionNone = 0;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionTop = 1;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionMiddle = 2;
inline constexpr UITableViewScrollPosition UITableViewScrollPositionBottom = 3;

class TableView : public View {
public:
    static TableView* alloc() { return objc::send<TableView*>("UITableView"_cls, "alloc"_sel); }
    TableView* initWithFrame(CGRect frame, UITableViewStyle style) {
        return objc::send<TableView*>(this, "initWithFrame:style:"_sel, frame, style);
    }

    UITableViewStyle style() const { return objc::send<UITableViewStyle>(this, "style"_sel); }
    id dataSource() const { return objc::send<id>(this, "dataSource"_sel); }
    void setDataSource(objc::AnyObject source) { objc::send<void>(this, "setDataSource:"_sel, source.get()); }
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }
    CGFloat rowHeight() const { return objc::send<CGFloat>(this, "rowHeight"_sel); }
    void setRowHeight(CGFloat height) { objc::send<void>(this, "setRowHeight:"_sel, height); }

    void reloadData() { objc::send<void>(this, "reloadData"_sel); }
    NSInteger numberOfSections() const { return objc::send<NSInteger>(this, "numberOfSections"_sel); }
    NSInteger numberOfRowsInSection(NSInteger section) const {
        return objc::send<NSInteger>(this, "numberOfRowsInSection:"_sel, section);
    }
    // The placed cell of the row, or nil.
    TableViewCell* cellForRowAtIndexPath(NS::IndexPath* path) const {
        return objc::send<TableViewCell*>(this, "cellForRowAtIndexPath:"_sel, path);
    }
    NS::IndexPath* indexPathForCell(TableViewCell* cell) const {
        return objc::send<NS::IndexPath*>(this, "indexPathForCell:"_sel, cell);
    }
    NS::IndexPath* indexPathForRowAtPoint(CGPoint point) const {
        return objc::send<NS::IndexPath*>(this, "indexPathForRowAtPoint:"_sel, point);
    }
    NS::Array* visibleCells() const { return objc::send<NS::Array*>(this, "visibleCells"_sel); }
    // In the table's content coordinates.
    CGRect rectForRowAtIndexPath(NS::IndexPath* path) const {
        return objc::send<CGRect>(this, "rectForRowAtIndexPath:"_sel, path);
    }
    // No reuse here: always nil, so data sources make a new cell.
    TableViewCell* dequeueReusableCellWithIdentifier(const NS::String* identifier) {
        return objc::send<TableViewCell*>(this, "dequeueReusableCellWithIdentifier:"_sel, identifier);
    }

    NS::IndexPath* indexPathForSelectedRow() const {
        return objc::send<NS::IndexPath*>(this, "indexPathForSelectedRow"_sel);
    }
    void selectRowAtIndexPath(NS::IndexPath* path, BOOL animated, UITableViewScrollPosition position) {
        objc::send<void>(this, "selectRowAtIndexPath:animated:scrollPosition:"_sel, path, animated, position);
    }
    void deselectRowAtIndexPath(NS::IndexPath* path, BOOL animated) {
        objc::send<void>(this, "deselectRowAtIndexPath:animated:"_sel, path, animated);
    }

    CGPoint contentOffset() const { return objc::send<CGPoint>(this, "contentOffset"_sel); }
    void setContentOffset(CGPoint offset) { objc::send<void>(this, "setContentOffset:"_sel, offset); }
    void setContentOffset(CGPoint offset, BOOL animated) {
        objc::send<void>(this, "setContentOffset:animated:"_sel, offset, animated);
    }
    CGSize contentSize() const { return objc::send<CGSize>(this, "contentSize"_sel); }
    // Room kept clear around the content: a navigation controller gives a
    // table that is its controller's view (or that view's first subview) a
    // top inset of 64, the height of the bars, and scrolls it to show the
    // first row below them.
    UIEdgeInsets contentInset() const { return objc::send<UIEdgeInsets>(this, "contentInset"_sel); }
    void setContentInset(UIEdgeInsets insets) { objc::send<void>(this, "setContentInset:"_sel, insets); }
    // Moves the offset so the row shows at the position, within the content.
    void scrollToRowAtIndexPath(NS::IndexPath* path, UITableViewScrollPosition position, BOOL animated) {
        objc::send<void>(this, "scrollToRowAtIndexPath:atScrollPosition:animated:"_sel, path, position, animated);
    }
    // YES while a finger drags the content.
    BOOL isDragging() const { return objc::send<BOOL>(this, "isDragging"_sel); }

    // Sent by a cell of the table when a tap on it ends: the table selects
    // the cell's row, asking and telling the delegate. Internal to UIKit.
    void _cellTapped(TableViewCell* cell) { objc::send<void>(this, "_cellTapped:"_sel, cell); }
};

}  // namespace UI
