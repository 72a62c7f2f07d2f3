// The bundle's classes exist as soon as the Settings app loads it: the colour
// picker kit first (the colour cell opens its chooser), then the panes, the
// colour cell and the preview cell. One constructor, so the order is the one
// written here.
#include "PaneControllers.h"

#include "HBPreviewCell.h"
#include "PFColorCellHB.h"

#include <ColorPickerKit.h>

__attribute__((constructor)) static void registerHuebloomBundle() {
    colorpicker::registerClasses();
    huebloom::registerPaneControllers();
    huebloom::registerColorCell();
    huebloom::registerPreviewCell();
}
