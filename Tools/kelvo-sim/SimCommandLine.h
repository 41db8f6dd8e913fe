#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "Simulator/Server/DesktopClient.h"

namespace kelvo_sim {

/// The command line of the simulated desktop: `serve` holds a desktop; every other verb is a
/// client of the desktop named by `KELVO_SIM_SOCKET` that inspects or drives it. A person
/// and a harness use the same verbs; every listing is one JSON object per line.
class SimCommandLine {
  public:
    /// What the `screenshot` verb does with its arguments (the rest after the verb), its
    /// "waiting for" line going to `out`; empty in a program that does not draw.
    using Screenshots = std::function<std::function<void(sim::DesktopClient&)>(
        const std::vector<std::string>& rest, std::ostream& out)>;

    static constexpr int success = 0;
    /// The desktop could not be reached, or refused what was asked.
    static constexpr int failure = 1;
    static constexpr int usageError = 2;

    SimCommandLine(std::ostream& out, std::ostream& err, Screenshots screenshots = nullptr)
        : out_(out), err_(err), screenshots_(std::move(screenshots)) {}

    /// Runs one verb with its arguments (the program's arguments after its name).
    int run(const std::vector<std::string>& arguments);

    static std::string usage();

    /// A usage mistake, told with the usage text.
    struct UsageError {
        std::string message;
    };
    /// A refusal of the desktop, told with status 1.
    struct Refused {
        std::string message;
    };

  private:
    int runClientVerb(const std::string& verb, const std::vector<std::string>& rest);
    /// What a client verb does to the desktop, its arguments checked (throws a usage error).
    std::function<void(sim::DesktopClient&)> clientAction(const std::string& verb,
                                                          const std::vector<std::string>& rest);
    int fail(const std::string& message, int status);
    /// The same for the verbs of the system's own interface; empty for another verb.
    std::function<void(sim::DesktopClient&)> ownInterfaceAction(
        const std::string& verb, const std::vector<std::string>& rest);
    static std::string ownInterfaceUsage();

    std::ostream& out_;
    std::ostream& err_;
    Screenshots screenshots_;
};

}  // namespace kelvo_sim
