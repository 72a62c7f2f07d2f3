#include <ObjCBridge/Runtime.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace objc {

void fatal(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("objc: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::abort();
}

}  // namespace objc
