#include <iostream>
#include <string>
#include <vector>

#include "ScreenshotProgram.h"
#include "SimCommandLine.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (kelvo_sim::ScreenshotProgram::takes(arguments))
        return kelvo_sim::ScreenshotProgram::become(argv, std::cerr);
    return kelvo_sim::SimCommandLine(std::cout, std::cerr).run(arguments);
}
