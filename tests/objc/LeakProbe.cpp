// Leaks one object and makes one class, for the leak-check test: under the
// suppressions of tests/lsan.supp the checker must report the object (and
// nothing of the class, which the runtime keeps for good).
#include <Foundation/NSObject.h>

int main() {
    objc::AutoreleasePool pool;
    objc::ClassBuilder("LeakProbeClass", "NSObject"_cls).build();
    id leaked = objc::send<id>(objc::send<id>("LeakProbeClass"_cls, "alloc"_sel), "init"_sel);
    (void)leaked;
    return 0;
}
