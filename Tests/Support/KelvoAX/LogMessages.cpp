#include "Support/KelvoAX/LogMessages.h"

#include <sstream>

#include "Support/Base/TestFiles.h"

namespace kelvo::testing {

std::vector<std::string> logMessages(const std::filesystem::path& log) {
    std::vector<std::string> messages;
    std::istringstream lines(fileContents(log));
    for (std::string line; std::getline(lines, line);)
        messages.push_back(line.size() >= logTimestampWidth ? line.substr(logTimestampWidth)
                                                            : line);
    return messages;
}

}  // namespace kelvo::testing
