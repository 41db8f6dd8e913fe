#include <iostream>
#include <string>
#include <vector>

#include "SimCommandLine.h"

// The font library keeps caches for the life of the process and never frees them; in a build
// with the leak checker they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kelvo_sim::SimCommandLine(std::cout, std::cerr).run(arguments);
}
