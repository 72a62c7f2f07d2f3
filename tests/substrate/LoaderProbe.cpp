#include "LoaderProbe.h"

std::vector<std::string>& loaderProbeLog() {
    static std::vector<std::string> log;
    return log;
}
