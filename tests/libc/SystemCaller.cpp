// A library loaded at run time, as the settings bundle is: its call of the
// standard `system` must reach the device's stand-in, not the machine's.
#include <cstdlib>

extern "C" int callSystem(const char* command) { return std::system(command); }
