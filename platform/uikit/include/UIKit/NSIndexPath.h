// NSIndexPath with UIKit's table additions: a row within a section. Index
// paths are values: two with the same section and row are equal and hash
// alike, and they order by section, then row.
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

namespace NS {

class IndexPath : public Object {
public:
    static IndexPath* indexPathForRow(NSInteger row, NSInteger section) {
        return objc::send<IndexPath*>("NSIndexPath"_cls, "indexPathForRow:inSection:"_sel, row, section);
    }

    NSInteger row() const { return objc::send<NSInteger>(this, "row"_sel); }
    NSInteger section() const { return objc::send<NSInteger>(this, "section"_sel); }
    NSComparisonResult compare(const IndexPath* other) const {
        return objc::send<NSComparisonResult>(this, "compare:"_sel, other);
    }
};

}  // namespace NS
