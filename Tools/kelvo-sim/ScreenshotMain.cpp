#include <iostream>
#include <string>
#include <vector>

#include "ScreenshotProgram.h"
#include "ScreenshotVerb.h"
#include "SimCommandLine.h"

// kelvo-sim with its screenshot verb, which kelvo-sim hands over to this program.

// The font library keeps caches for the life of the process and never frees them; in a build
// with the leak checker they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// Nor are the font library's own uninstrumented threads this program's races.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n";
}

extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!kelvo_sim::ScreenshotProgram::takes(arguments))
        return kelvo_sim::ScreenshotProgram::answerAlone(arguments, std::cout, std::cerr);
    return kelvo_sim::SimCommandLine(std::cout, std::cerr, kelvo_sim::ScreenshotVerb::action)
        .run(arguments);
}
