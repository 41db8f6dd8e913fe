#include "KelvoApp/Coordinator/MadeByStartup.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kelvo {

void usedBeforeStartup(const char* what) {
    const std::string line = std::string("kelvo: ") + what + " used before start-up made it\n";
    std::fputs(line.c_str(), stderr);
    std::abort();
}

}  // namespace kelvo
