// The leak checker's defaults for this test program. The Objective-C runtime
// keeps what it allocates while classes are set up and methods are added (it
// holds those blocks in a form the checker cannot follow), so those two
// places are named; objects that tests leak are still reported. The names
// can only be matched in full stacks, hence the slower unwinding.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() {
    return "leak:class_addMethod\n"
           "leak:__objc_exec_class\n";
}
