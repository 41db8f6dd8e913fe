#include "KelvoApp/ProgramArguments.h"

#include "KelvoApp/TestMode/TestMode.h"

namespace kelvo {

ProgramArguments ProgramArguments::read(const std::vector<std::string>& arguments) {
    ProgramArguments result;
    for (const auto& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            if (result.asked == Asked::run) result.asked = Asked::help;
        } else if (argument == "--version") {
            if (result.asked == Asked::run) result.asked = Asked::version;
        } else {
            return {Asked::unknown, argument};
        }
    }
    return result;
}

std::string ProgramArguments::usage(const std::optional<std::filesystem::path>& testDirectory) {
    const std::string where =
        testDirectory ? "In test mode (KELVO_TEST_CONFIG_DIR is set):\n" : "Outside test mode:\n";
    const auto config = TestMode::configURL(testDirectory);
    return "usage: KelvoApp [--help | --version]\n"
           "\n"
           "Kelvo tiles the windows of the simulated desktop whose socket KELVO_SIM_SOCKET names\n"
           "(kelvo-sim serve starts one) and obeys its keyboard shortcuts there.\n"
           "\n"
           "Environment:\n"
           "  KELVO_SIM_SOCKET       the desktop's socket; without one Kelvo exits with status 4\n"
           "  KELVO_TEST_CONFIG_DIR  test mode: the configuration, session file and log live in\n"
           "                         this folder, and standard input takes requests, one JSON\n"
           "                         object per line, such as {\"op\":\"ping\"},\n"
           "                         {\"op\":\"state\",\"ids\":[1,2]}, {\"op\":\"quit\"} and\n"
           "                         {\"op\":\"command\",\"command\":{\"name\":\"switchTo\","
           "\"desktop\":2}}\n"
           "  KELVO_LOG              every log line also goes to standard error\n"
           "\n" +
           where + "  configuration  " + config.string() + "\n" + "  session        " +
           (config.parent_path() / "session.json").string() + "\n" + "  log            " +
           TestMode::logURL(testDirectory).string() +
           "\n"
           "\n"
           "Exit statuses: 0 quit or signal, 1 no Accessibility trust, 2 the key tap could not\n"
           "be made, 3 test mode beside another running Kelvo, 4 no desktop to manage, 64 an\n"
           "argument it does not know.\n";
}

std::string ProgramArguments::version() {
    return "Kelvo development\n";
}

}  // namespace kelvo
