#include <iostream>
#include <string>
#include <vector>

#include "PictureBook.h"

// Fontconfig keeps the fonts it has loaded behind encoded offsets that the leak checker of the
// sanitizer builds cannot follow; they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

// kelvo-pictures FOLDER [NAME…]: draws the named pictures (all of them without names) into
// FOLDER as PNG files, one line a file written.
int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: kelvo-pictures FOLDER [NAME...]\n";
        return 64;
    }
    const std::vector<std::string> names(argv + 2, argv + argc);
    return kelvo_pictures::PictureBook::write(argv[1], names, std::cout, std::cerr) ? 0 : 1;
}
