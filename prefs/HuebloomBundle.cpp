// The bundle's classes exist as soon as the Settings app loads it: the colour
// picker kit first (the colour cell opens its chooser), then the panes, the
// colour cell and the preview cell. One constructor, so the order is the one written here.
#include "PaneControllers.h"

#include <ColorPickerKit.h>
#ifdef HB_BUNDLE_WITH_COLOR_CELL
#include "HBPreviewCell.h"
#include "PFColorCellHB.h"
#endif

__attribute__((constructor)) static void registerHuebloomBundle() {
    colorpicker::registerClasses();
    huebloom::registerPaneControllers();
#ifdef HB_BUNDLE_WITH_COLOR_CELL
    huebloom::registerColorCell();
    huebloom::registerPreviewCell();
#endif
}
