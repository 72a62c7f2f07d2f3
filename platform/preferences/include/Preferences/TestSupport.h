// What tests of the framework's users may look at; neither the product nor the
// simulator has any use for it.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

#include <cstddef>

namespace PS {

// How often a list controller has rebuilt its rows (reload) in this process.
std::size_t reloadCount(id listController);

}  // namespace PS
