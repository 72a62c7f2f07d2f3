// The outline of a balloon: a rounded rectangle whose bottom corner on the
// sender's side becomes a tail curling out to a point level with the bottom
// edge. The outline is built for a tail on the right and mirrored for one on
// the left.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"

#include <algorithm>

namespace chatkit {

void addBalloonPath(CGContextRef c, const BalloonShape& shape) {
    const CGRect b = shape.body;
    const CGFloat minX = CGRectGetMinX(b), maxX = CGRectGetMaxX(b);
    const CGFloat minY = CGRectGetMinY(b), maxY = CGRectGetMaxY(b);
    const CGFloat r = std::min({metrics::kBalloonCornerRadius, b.size.width / 2, b.size.height / 2});
    // x as seen on the tail's side: mirrored about the body's centre when the
    // tail is on the left.
    auto x = [&](CGFloat px) { return shape.tailOnRight ? px : minX + maxX - px; };
    const CGFloat tw = metrics::kTailWidth;
    const CGFloat th = std::min(metrics::kTailHeight, b.size.height - r);

    CGContextMoveToPoint(c, x((minX + maxX) / 2), minY);
    CGContextAddArcToPoint(c, x(maxX), minY, x(maxX), maxY, r);
    if (shape.tail) {
        CGContextAddLineToPoint(c, x(maxX), maxY - th);
        // Down the outer edge to the tip, then back along a shallow hollow to
        // the bottom edge.
        CGContextAddCurveToPoint(c, x(maxX), maxY - th * 0.35, x(maxX + tw * 0.45), maxY - 1.5, x(maxX + tw), maxY);
        CGContextAddCurveToPoint(c, x(maxX + tw * 0.1), maxY - 3.5, x(maxX - 4), maxY - 3, x(maxX - 11), maxY);
    } else {
        CGContextAddArcToPoint(c, x(maxX), maxY, x(minX), maxY, r);
    }
    CGContextAddArcToPoint(c, x(minX), maxY, x(minX), minY, r);
    CGContextAddArcToPoint(c, x(minX), minY, x(maxX), minY, r);
    CGContextClosePath(c);
}

}  // namespace chatkit
