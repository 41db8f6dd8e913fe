#include "KelvoApp/Services/TerminalLauncher.h"

namespace kelvo {

void TerminalLauncher::open(const std::optional<std::string>& configured,
                            const std::function<void(const std::string&)>&,
                            const std::function<void(const std::string&)>&) {
    requests().push_back(Request{configured});
}

std::vector<TerminalLauncher::Request>& TerminalLauncher::requests() {
    static std::vector<Request> made;
    return made;
}

}  // namespace kelvo
