// The leak checker's default suppressions for this test program. Two system
// libraries keep allocations they never free: fontconfig while it parses its
// configuration files, and the Objective-C runtime while it sets itself up.
// Neither is ours to fix; everything else is still checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libobjc.so\n";
}
