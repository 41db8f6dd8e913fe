#include "ScreenshotProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "Base/Foundation/FileSystem.h"

namespace kelvo_sim {

bool ScreenshotProgram::takes(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == verb;
}

int ScreenshotProgram::become(char** argv, std::ostream& err) {
    const std::string path = (executablePath().parent_path() / fileName).string();
    argv[0] = const_cast<char*>(path.c_str());
    ::execv(path.c_str(), argv);
    err << "kelvo-sim: cannot start " << path << ": " << std::strerror(errno) << '\n';
    return 1;
}

}  // namespace kelvo_sim
