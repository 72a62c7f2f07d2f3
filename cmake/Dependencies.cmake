# Third-party libraries, all from Debian packages installed by scripts/deps.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# GNU Objective-C runtime: GCC ships its headers inside its own include
# folder and the library beside its other libraries. Both are asked of gcc
# itself, also when clang compiles (the fuzz targets), whose own include
# folder has no objc/.
find_program(HB_GCC NAMES gcc REQUIRED)
execute_process(COMMAND ${HB_GCC} -print-file-name=include
                OUTPUT_VARIABLE GCC_INCLUDE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${HB_GCC} -print-file-name=libobjc.so
                OUTPUT_VARIABLE GCC_OBJC_LIBRARY OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${GCC_INCLUDE_DIR}/objc/runtime.h" OR NOT EXISTS "${GCC_OBJC_LIBRARY}")
  message(FATAL_ERROR "The GNU Objective-C runtime is missing (libobjc-12-dev): run scripts/deps")
endif()
get_filename_component(GCC_OBJC_LIBRARY "${GCC_OBJC_LIBRARY}" REALPATH)
set(OBJC_LIBRARY "${GCC_OBJC_LIBRARY}")
# Only the objc/ folder is exposed (through a link), so that clang, which
# has its own compiler headers, can build the fuzz targets against it too.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/objc-include)
file(CREATE_LINK ${GCC_INCLUDE_DIR}/objc ${CMAKE_BINARY_DIR}/objc-include/objc SYMBOLIC)
add_library(gnu_objc INTERFACE)
target_link_libraries(gnu_objc INTERFACE ${OBJC_LIBRARY})
# The runtime headers are the system's, so their warnings are not ours.
target_include_directories(gnu_objc SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/objc-include)

if(HB_BENCH)
  find_package(benchmark REQUIRED)
endif()
find_package(CLI11 REQUIRED)
find_package(nlohmann_json REQUIRED)
