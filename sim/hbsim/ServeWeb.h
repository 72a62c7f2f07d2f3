// The page of hbsim serve, built into the program: the files of
// sim/hbsim/web/ are read into a generated source when hbsim is built, so the
// command serves them from any working folder.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace hbsim::serve {

struct WebFile {
    std::string_view path;         // "/index.html"
    std::string_view contentType;  // "text/html; charset=utf-8"
    std::string_view content;
};

std::span<const WebFile> webFiles();

}  // namespace hbsim::serve
