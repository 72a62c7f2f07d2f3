# Third-party libraries, all from Debian packages installed by scripts/deps.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# GNU Objective-C runtime: GCC ships its headers inside the compiler's own
# include folder, and the library as libobjc.so.4.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include
                OUTPUT_VARIABLE GCC_INCLUDE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${GCC_INCLUDE_DIR}/objc/runtime.h")
  set(GCC_INCLUDE_DIR /usr/lib/gcc/x86_64-linux-gnu/12/include)
endif()
find_library(OBJC_LIBRARY NAMES objc libobjc.so.4
             PATHS /usr/lib/gcc/x86_64-linux-gnu/12 /usr/lib/x86_64-linux-gnu REQUIRED)
# Only the objc/ folder is exposed (through a link), so that clang, which
# has its own compiler headers, can build the fuzz targets against it too.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/objc-include)
file(CREATE_LINK ${GCC_INCLUDE_DIR}/objc ${CMAKE_BINARY_DIR}/objc-include/objc SYMBOLIC)
add_library(gnu_objc INTERFACE)
target_link_libraries(gnu_objc INTERFACE ${OBJC_LIBRARY})
# The runtime headers are the system's, so their warnings are not ours.
target_include_directories(gnu_objc SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/objc-include)

find_package(benchmark QUIET)
find_package(CLI11 QUIET)
find_package(nlohmann_json QUIET)
