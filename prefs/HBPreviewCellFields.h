// HBPreviewCellFields: the preview cell's C++ state, as the class keeps it in
// every instance. Only the cell's own file, its tests and benchmarks read
// it; anything else asks the cell what it draws (previewContents, in
// HBPreviewCell.h).
#pragma once

#include "HBPreviewCell.h"
#include "PreviewConversation.h"

#include <string>
#include <vector>

// What the cell draws and where, and what a finger is on.
struct HBPreviewCellFields {
    struct Balloon {
        huebloom::PreviewMessage message;
        huebloom::BalloonLook look;
        bool tail = false;
        CGRect body = CGRectZero;  // in the cell's coordinates, without the tail
    };
    std::vector<Balloon> balloons;
    // The caption above the balloons; it says when the colours are one draw
    // of the Random mode.
    std::string caption;
    // The balloon a finger is on, or -1.
    int pressed = -1;
    CGFloat laidOutWidth = -1;
    Ref<NS::String> observedNotification;
};

namespace huebloom {

// The fields of a cell of the class, or nullptr for any other object.
HBPreviewCellFields* previewFieldsOf(id cell);

}  // namespace huebloom
