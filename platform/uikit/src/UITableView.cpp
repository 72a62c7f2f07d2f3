#include <Foundation/NSArray.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>

#include "ControlDrawing.h"
#include "FontInternals.h"
#include "TableViewState.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace UI {
namespace {

using detail::Row;
using detail::Section;
using detail::TableState;

TableState& stateOf(objc::AnyObject self) { return detail::tableStateOf(self); }

bool answers(id object, SEL s) { return object != nil && objc::respondsTo(object, s); }

NS::IndexPath* path(NSInteger section, NSInteger row) { return NS::IndexPath::indexPathForRow(row, section); }

// --- creation and properties ------------------------------------------------

TableView* initWithFrameStyle(TableView* self, SEL, CGRect frame, UITableViewStyle style) {
    self = objc::sendSuper<TableView*>(self, "UITableView"_cls, "initWithFrame:"_sel, frame);
    if (self == nullptr) return nullptr;
    stateOf(self).style = style;
    self->setClipsToBounds(YES);
    self->setBackgroundColor(style == UITableViewStyleGrouped
                                 ? objc::cast<Color>(detail::color(metrics::kGroupedBackground))
                                 : Color::whiteColor());
    return self;
}

TableView* initWithFrame(TableView* self, SEL, CGRect frame) {
    return initWithFrameStyle(self, nullptr, frame, UITableViewStylePlain);
}

UITableViewStyle style(id self, SEL) { return stateOf(self).style; }
id dataSource(id self, SEL) { return stateOf(self).dataSource; }
void setDataSource(TableView* self, SEL, id source) {
    stateOf(self).dataSource = source;
    stateOf(self).loaded = false;
    self->setNeedsLayout();
}
id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(TableView* self, SEL, id d) {
    stateOf(self).delegate = d;
    stateOf(self).loaded = false;
    self->setNeedsLayout();
}
CGFloat rowHeight(id self, SEL) { return stateOf(self).rowHeight; }
void setRowHeight(id self, SEL, CGFloat h) { stateOf(self).rowHeight = h; }

// --- geometry -----------------------------------------------------------------

Ref<Label> makeSectionLabel(NS::String* text, bool header, CGFloat width) {
    std::string t = detail::utf8(objc::asId(text));
    if (header) {
        for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    Ref<Label> label = objc::adopt(Label::alloc()->initWithFrame(CGRectZero));
    label->setText(NS::String::stringWithUTF8String(t.c_str()));
    label->setFont(
        objc::cast<Font>(detail::systemFont(header ? metrics::kHeaderTextSize : metrics::kFooterTextSize, false)));
    label->setTextColor(objc::cast<Color>(detail::color(metrics::kSectionText)));
    label->setNumberOfLines(0);
    CGSize size = label->sizeThatFits(CGSizeMake(width, 1000));
    label->setFrame(CGRectMake(0, 0, width, size.height));
    return label;
}

void addDecoration(TableView* self, View* view) {
    stateOf(self).decorations.emplace_back(view);
    self->addSubview(view);
}

void addSeparator(TableView* self, CGRect frame) {
    addDecoration(self, objc::cast<View>(detail::solidView(frame, detail::color(metrics::kSeparator))));
}

// Places the cells, separators and section titles for the table's width.
void layOut(TableView* self) {
    TableState& s = stateOf(self);
    for (View* d : s.decorations) d->removeFromSuperview();
    s.decorations.clear();
    const bool grouped = s.style == UITableViewStyleGrouped;
    const CGFloat W = self->bounds().size.width;
    const CGFloat textWidth = std::fmax(W - 2 * metrics::kCellMargin, 0);
    const CGFloat hairline = 0.5;
    CGFloat y = 0;
    for (Section& sec : s.sections) {
        // The header: the gap above the section, with its title at the foot.
        Ref<Label> header = sec.header ? makeSectionLabel(sec.header, true, textWidth) : nullptr;
        CGFloat headerTextHeight = header ? header->frame().size.height : 0;
        if (grouped) {
            // A title longer than a line makes the header taller.
            sec.headerHeight = header ? std::fmax(metrics::kTitledHeaderHeight,
                                                  headerTextHeight + 3 * metrics::kSectionTextPadding + 17)
                                      : metrics::kSectionGap;
        } else {
            sec.headerHeight = header ? headerTextHeight + 2 * metrics::kSectionTextPadding : 0;
        }
        if (header) {
            header->setFrame(CGRectMake(metrics::kCellMargin,
                                        y + sec.headerHeight - metrics::kSectionTextPadding - headerTextHeight,
                                        textWidth, headerTextHeight));
            addDecoration(self, header);
        }
        y += sec.headerHeight;

        const std::size_t n = sec.rows.size();
        for (std::size_t i = 0; i < n; ++i) {
            Row& r = sec.rows[i];
            r.y = y;
            r.cell->setFrame(CGRectMake(0, y, W, r.height));
            if (r.cell->superview() != self) self->addSubview(r.cell);
            y += r.height;
        }
        // Separators go above the cells: across the whole width at the top and
        // bottom of a grouped section, inset between rows.
        for (std::size_t i = 0; i < n; ++i) {
            const Row& r = sec.rows[i];
            if (i == 0 && grouped) addSeparator(self, CGRectMake(0, r.y, W, hairline));
            bool last = i + 1 == n;
            CGFloat x = last && grouped ? 0 : metrics::kSeparatorInset;
            addSeparator(self, CGRectMake(x, r.y + r.height - hairline, W - x, hairline));
        }

        Ref<Label> footer = sec.footer ? makeSectionLabel(sec.footer, false, textWidth) : nullptr;
        sec.footerHeight = 0;
        if (footer) {
            CGFloat h = footer->frame().size.height;
            footer->setFrame(CGRectMake(metrics::kCellMargin, y + metrics::kSectionTextPadding, textWidth, h));
            addDecoration(self, footer);
            sec.footerHeight = h + metrics::kSectionTextPadding;
        }
        y += sec.footerHeight;
    }
    if (grouped && !s.sections.empty()) y += metrics::kSectionGap;
    s.contentSize = CGSizeMake(W, y);
    s.laidOutWidth = W;
}

// --- loading ------------------------------------------------------------------

void reloadData(TableView* self, SEL) {
    TableState& s = stateOf(self);
    Ref<TableView> keep(self);
    // Every cell leaves the table first, each hearing of it.
    for (Section& sec : s.sections) {
        for (Row& r : sec.rows) {
            if (r.cell->superview() == self) r.cell->removeFromSuperview();
        }
    }
    s.sections.clear();
    s.loaded = true;
    s.selectedSection = s.selectedRow = -1;

    id source = s.dataSource;
    id delegate = s.delegate;
    NSInteger sections = 0;
    if (source != nil) {
        sections = answers(source, "numberOfSectionsInTableView:"_sel)
                       ? objc::send<NSInteger>(source, "numberOfSectionsInTableView:"_sel, self)
                       : 1;
    }
    std::vector<Section> built(static_cast<std::size_t>(std::max<NSInteger>(sections, 0)));
    for (NSInteger i = 0; i < sections; ++i) {
        Section& sec = built[static_cast<std::size_t>(i)];
        if (answers(source, "tableView:titleForHeaderInSection:"_sel)) {
            sec.header = objc::send<NS::String*>(source, "tableView:titleForHeaderInSection:"_sel, self, i);
        }
        if (answers(source, "tableView:titleForFooterInSection:"_sel)) {
            sec.footer = objc::send<NS::String*>(source, "tableView:titleForFooterInSection:"_sel, self, i);
        }
        NSInteger rows = answers(source, "tableView:numberOfRowsInSection:"_sel)
                             ? objc::send<NSInteger>(source, "tableView:numberOfRowsInSection:"_sel, self, i)
                             : 0;
        for (NSInteger j = 0; j < rows; ++j) {
            NS::IndexPath* indexPath = path(i, j);
            Row r;
            r.height = answers(delegate, "tableView:heightForRowAtIndexPath:"_sel)
                           ? objc::send<CGFloat>(delegate, "tableView:heightForRowAtIndexPath:"_sel, self, indexPath)
                           : s.rowHeight;
            r.cell = objc::send<TableViewCell*>(source, "tableView:cellForRowAtIndexPath:"_sel, self, indexPath);
            if (!r.cell) {
                objc::fatal("-[UITableView reloadData] the data source gave no cell for row %ld of section %ld",
                            static_cast<long>(j), static_cast<long>(i));
            }
            sec.rows.push_back(r);
        }
    }
    s.sections = std::move(built);
    layOut(self);
}

void layoutSubviews(TableView* self, SEL) {
    TableState& s = stateOf(self);
    if (!s.loaded) {
        reloadData(self, nullptr);
    } else if (s.laidOutWidth != self->bounds().size.width) {
        layOut(self);
    }
}

}  // namespace

namespace detail {

const Row* tableRowAt(TableView* self, NS::IndexPath* indexPath) {
    if (indexPath == nullptr) return nullptr;
    TableState& s = stateOf(self);
    NSInteger section = indexPath->section();
    NSInteger row = indexPath->row();
    if (section < 0 || static_cast<std::size_t>(section) >= s.sections.size()) return nullptr;
    const auto& rows = s.sections[static_cast<std::size_t>(section)].rows;
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return nullptr;
    return &rows[static_cast<std::size_t>(row)];
}

void loadTableIfNeeded(TableView* self) {
    if (!stateOf(self).loaded) reloadData(self, nullptr);
}

}  // namespace detail

namespace {

using detail::loadTableIfNeeded;
using detail::tableRowAt;

NSInteger numberOfSections(TableView* self, SEL) {
    loadTableIfNeeded(self);
    return static_cast<NSInteger>(stateOf(self).sections.size());
}

NSInteger numberOfRowsInSection(TableView* self, SEL, NSInteger section) {
    loadTableIfNeeded(self);
    const auto& sections = stateOf(self).sections;
    if (section < 0 || static_cast<std::size_t>(section) >= sections.size()) return 0;
    return static_cast<NSInteger>(sections[static_cast<std::size_t>(section)].rows.size());
}

TableViewCell* cellForRowAtIndexPath(TableView* self, SEL, NS::IndexPath* indexPath) {
    loadTableIfNeeded(self);
    const Row* r = tableRowAt(self, indexPath);
    return r ? r->cell.get() : nullptr;
}

NS::IndexPath* indexPathForCell(TableView* self, SEL, TableViewCell* cell) {
    const auto& sections = stateOf(self).sections;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        for (std::size_t j = 0; j < sections[i].rows.size(); ++j) {
            if (sections[i].rows[j].cell.get() == cell)
                return path(static_cast<NSInteger>(i), static_cast<NSInteger>(j));
        }
    }
    return nullptr;
}

NS::IndexPath* indexPathForRowAtPoint(TableView* self, SEL, CGPoint p) {
    loadTableIfNeeded(self);
    const auto& sections = stateOf(self).sections;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        for (std::size_t j = 0; j < sections[i].rows.size(); ++j) {
            const Row& r = sections[i].rows[j];
            if (p.y >= r.y && p.y < r.y + r.height) return path(static_cast<NSInteger>(i), static_cast<NSInteger>(j));
        }
    }
    return nullptr;
}

NS::Array* visibleCells(TableView* self, SEL) {
    loadTableIfNeeded(self);
    CGRect b = self->bounds();
    NS::MutableArray* cells = NS::MutableArray::array();
    for (const Section& sec : stateOf(self).sections) {
        for (const Row& r : sec.rows) {
            if (r.y + r.height > b.origin.y && r.y < b.origin.y + b.size.height) cells->addObject(r.cell.get());
        }
    }
    return cells;
}

CGRect rectForRowAtIndexPath(TableView* self, SEL, NS::IndexPath* indexPath) {
    loadTableIfNeeded(self);
    const Row* r = tableRowAt(self, indexPath);
    if (r == nullptr) return CGRectZero;
    return CGRectMake(0, r->y, stateOf(self).contentSize.width, r->height);
}

id dequeueReusableCell(id, SEL, id) { return nil; }

// --- selection ----------------------------------------------------------------

NS::IndexPath* indexPathForSelectedRow(TableView* self, SEL) {
    const TableState& s = stateOf(self);
    return s.selectedSection < 0 ? nullptr : path(s.selectedSection, s.selectedRow);
}

void deselectRow(TableView* self, SEL, NS::IndexPath* indexPath, BOOL animated) {
    TableState& s = stateOf(self);
    if (indexPath == nullptr || indexPath->section() != s.selectedSection || indexPath->row() != s.selectedRow) {
        return;
    }
    if (const Row* r = tableRowAt(self, indexPath)) r->cell->setSelected(NO, animated);
    s.selectedSection = s.selectedRow = -1;
}

void selectRow(TableView* self, SEL, NS::IndexPath* indexPath, BOOL animated, UITableViewScrollPosition position) {
    TableState& s = stateOf(self);
    if (NS::IndexPath* current = indexPathForSelectedRow(self, nullptr)) deselectRow(self, nullptr, current, animated);
    const Row* r = tableRowAt(self, indexPath);
    if (r == nullptr) return;  // so the index path is not nil
    s.selectedSection = indexPath->section();
    s.selectedRow = indexPath->row();
    r->cell->setSelected(YES, animated);
    if (position != UITableViewScrollPositionNone) self->scrollToRowAtIndexPath(indexPath, position, animated);
}

// A tap on a cell: the delegate may redirect or refuse the selection, then
// hears of it.
void cellTapped(TableView* self, SEL, TableViewCell* cell) {
    NS::IndexPath* indexPath = indexPathForCell(self, nullptr, cell);
    if (indexPath == nullptr) return;
    Ref<TableView> keep(self);
    id d = stateOf(self).delegate;
    if (answers(d, "tableView:willSelectRowAtIndexPath:"_sel)) {
        indexPath = objc::send<NS::IndexPath*>(d, "tableView:willSelectRowAtIndexPath:"_sel, self, indexPath);
        if (indexPath == nullptr) return;
    }
    selectRow(self, nullptr, indexPath, NO, UITableViewScrollPositionNone);
    if (answers(d, "tableView:didSelectRowAtIndexPath:"_sel)) {
        objc::send<void>(d, "tableView:didSelectRowAtIndexPath:"_sel, self, indexPath);
    }
}

}  // namespace

void registerTableView() {
    objc::ClassBuilder builder("UITableView", "UIView"_cls);
    builder.state<TableState>()
        .method("initWithFrame:style:", &initWithFrameStyle)
        .method("initWithFrame:", &initWithFrame)
        .method("style", &style)
        .method("dataSource", &dataSource)
        .method("setDataSource:", &setDataSource)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .method("rowHeight", &rowHeight)
        .method("setRowHeight:", &setRowHeight)
        .method("reloadData", &reloadData)
        .method("layoutSubviews", &layoutSubviews)
        .method("numberOfSections", &numberOfSections)
        .method("numberOfRowsInSection:", &numberOfRowsInSection)
        .method("cellForRowAtIndexPath:", &cellForRowAtIndexPath)
        .method("indexPathForCell:", &indexPathForCell)
        .method("indexPathForRowAtPoint:", &indexPathForRowAtPoint)
        .method("visibleCells", &visibleCells)
        .method("rectForRowAtIndexPath:", &rectForRowAtIndexPath)
        .method("dequeueReusableCellWithIdentifier:", &dequeueReusableCell)
        .method("indexPathForSelectedRow", &indexPathForSelectedRow)
        .method("selectRowAtIndexPath:animated:scrollPosition:", &selectRow)
        .method("deselectRowAtIndexPath:animated:", &deselectRow)
        .method("_cellTapped:", &cellTapped);
    detail::addTableScrollingMethods(builder);
    builder.build();
}

}  // namespace UI
