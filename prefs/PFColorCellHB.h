// PFColorCellHB: the cell of a colour row. It shows the colour saved for the
// row in a rounded swatch at its right, opens the colour chooser for the row
// when tapped, and ends the Messages app each time it is placed in or taken
// out of a table, so that Messages starts next time with the settings as
// they are now (it reads them only when it starts).
//
// The row's properties: "color_key", "color_defaults" (the domain),
// "color_fallback" (shown while nothing is saved, "#a1a1a1" when absent),
// "color_postNotification", "title" ("Choose Color" when absent),
// "usesAlpha", "usesRGB".
#pragma once

#include <Preferences/PSTableCell.h>

namespace huebloom {

// The swatch is the cell's accessory view, with this tag: a stable part of
// the cell's view tree, by which the Settings app's script driver finds it.
inline constexpr NSInteger kSwatchTag = 199;

void registerColorCell();

}  // namespace huebloom
