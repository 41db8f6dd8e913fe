#include "ScreenshotProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "Base/Foundation/FileSystem.h"

namespace kelvo_sim {

bool ScreenshotProgram::takes(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == verb;
}

std::string ScreenshotProgram::usage() {
    return std::string("usage: kelvo-sim screenshot ") + arguments +
           "\n"
           "kelvo-sim-screenshot draws the pictures of kelvo-sim's screenshot verb: kelvo-sim "
           "hands "
           "that verb\n"
           "to this program beside it, so that its other verbs start without the drawing "
           "libraries.\n"
           "Run kelvo-sim screenshot; kelvo-sim --help lists every verb.\n";
}

int ScreenshotProgram::answerAlone(const std::vector<std::string>& arguments, std::ostream& out,
                                   std::ostream& err) {
    if (arguments.size() == 1 &&
        (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help")) {
        out << usage();
        return 0;
    }
    err << fileName << ": only draws kelvo-sim's " << verb << " verb; run kelvo-sim "
        << (arguments.empty() ? std::string("VERB") : arguments[0]) << " instead.\n"
        << "Run " << fileName << " --help for what it is.\n";
    return usageError;
}

int ScreenshotProgram::become(char** argv, std::ostream& err) {
    const std::string path = (executablePath().parent_path() / fileName).string();
    argv[0] = const_cast<char*>(path.c_str());
    ::execv(path.c_str(), argv);
    err << "kelvo-sim: cannot start " << path << ": " << std::strerror(errno) << '\n';
    return 1;
}

}  // namespace kelvo_sim
