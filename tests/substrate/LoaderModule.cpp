// A library for the loader to load. One build of it is installed under many
// names; its initialiser records the name it was loaded under.
#include "LoaderProbe.h"

#include <dlfcn.h>

#include <filesystem>

namespace {

__attribute__((constructor)) void recordLoad() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&recordLoad), &info) != 0 && info.dli_fname != nullptr) {
        loaderProbeLog().push_back(std::filesystem::path(info.dli_fname).filename().string());
    }
}

}  // namespace
