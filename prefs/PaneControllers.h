// The settings panes: the root pane, which redraws its preview row before it
// appears, six sub-panes that rebuild their rows each time they appear (so
// colour rows and the preview show what the chooser just saved), and the
// support pane with its four actions.
#pragma once

namespace huebloom {

// Registers the eight pane classes under PSListController.
void registerPaneControllers();

}  // namespace huebloom
