#include <iostream>

#include "ConfigurationReference.h"

// kelvo-reference: prints the configuration reference that the README holds, from the code.
int main() {
    try {
        std::cout << kelvo_reference::ConfigurationReference::markdown();
    } catch (const kelvo_reference::ConfigurationReference::Mismatch& mismatch) {
        std::cerr << "kelvo-reference: " << mismatch.what() << '\n';
        return 1;
    }
    return 0;
}
