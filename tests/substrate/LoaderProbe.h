// Shared by the loader test and the test libraries it loads: each library's
// initialiser records its own file name here, in the order they run.
#pragma once

#include <string>
#include <vector>

std::vector<std::string>& loaderProbeLog();
