#include <exception>
#include <iostream>

#include "LayerCheck.h"

// kelvo-layers GRAPH SOURCES: checks every #include and every class declared ahead under
// SOURCES against the graph of targets the build wrote; prints each breach and exits 1 when
// there is one.
int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvo-layers GRAPH-FILE SOURCE-FOLDER\n";
        return 64;
    }
    try {
        const kelvo_layers::LayerCheck check(argv[2], kelvo_layers::LayerCheck::readGraph(argv[1]));
        const auto breaches = check.run();
        for (const auto& breach : breaches)
            std::cerr << "kelvo-layers: " << breach << '\n';
        return breaches.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "kelvo-layers: " << error.what() << '\n';
        return 2;
    }
}
