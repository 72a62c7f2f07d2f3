// The leak checker's defaults for this test program. The Objective-C runtime
// keeps the type strings and method lists it allocates while classes are set
// up (with objc_malloc, in a form the checker cannot follow, and from frames
// it cannot unwind), and fontconfig keeps what it reads of its
// configuration. Those are named; instances, which the runtime allocates with
// objc_calloc, are still checked, so objects that the tests or UIKit leak are
// reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:objc_malloc\n"
           "leak:libfontconfig.so\n";
}
