// What tests of UIKit's users may reset between cases; neither the product nor
// the simulator has any use for it.
#pragma once

namespace UI::application {

// Forgets the URLs opened so far in this process (see openedURLs).
void forgetOpenedURLs();

}  // namespace UI::application
