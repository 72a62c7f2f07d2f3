// The fields of a UITableView, shared by the files that implement the class:
// its rows and sections (UITableView.cpp) and its scrolling and dragging
// (UITableViewScrolling.cpp). Internal to UIKit.
#pragma once

#include <ObjCBridge/ClassBuilder.h>
#include <ObjCBridge/Ref.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>

#include "ControlMetrics.h"

#include <vector>

namespace UI::detail {

struct Row {
    Ref<TableViewCell> cell;  // also a subview
    CGFloat height = 0;
    CGFloat y = 0;
};

struct Section {
    Ref<NS::String> header;  // titles
    Ref<NS::String> footer;
    std::vector<Row> rows;
    CGFloat headerHeight = 0;
    CGFloat footerHeight = 0;
};

struct TableState {
    UITableViewStyle style = UITableViewStylePlain;
    id dataSource = nil;  // not retained
    id delegate = nil;    // not retained
    CGFloat rowHeight = metrics::kRowHeight;
    std::vector<Section> sections;
    std::vector<Ref<View>> decorations;  // separators and section labels, also subviews
    bool loaded = false;
    CGSize contentSize = CGSizeZero;
    UIEdgeInsets inset = UIEdgeInsetsZero;
    NSInteger selectedSection = -1;
    NSInteger selectedRow = -1;
    CGFloat laidOutWidth = -1;
    // A finger on the table (or on one of its cells) drags its content once
    // it has moved far enough to be no tap.
    struct Drag {
        bool tracking = false;
        bool dragging = false;
        CGFloat startY = 0;       // the finger, in window points
        CGFloat startOffset = 0;  // the content offset when it went down
    } drag;
};

inline TableState& tableStateOf(objc::AnyObject table) { return objc::state<TableState>(table); }

// Asks the data source for the rows once, before the first question about them.
void loadTableIfNeeded(TableView* table);
// The row at an index path, or null when the table has no such row (or the
// path is nil).
const Row* tableRowAt(TableView* table, NS::IndexPath* indexPath);

// The methods of scrolling and of dragging the content with a finger.
void addTableScrollingMethods(objc::ClassBuilder& builder);

}  // namespace UI::detail
