#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelvo {

/// What the program's command line asks for. Kelvo takes its desktop and test mode from the
/// environment; the command line only asks it to explain itself, and anything else on it is a
/// mistake that stops it before it touches anything.
struct ProgramArguments {
    enum class Asked { run, help, version, unknown };

    Asked asked = Asked::run;
    /// The first argument it does not know, for `unknown`.
    std::string unknownArgument;

    /// The exit status of a command line it does not understand.
    static constexpr int usageStatus = 64;

    static ProgramArguments read(const std::vector<std::string>& arguments);

    /// The usage text: the arguments, the environment it reads, where its configuration and
    /// log are (in test mode when `testDirectory` is given) and its exit statuses.
    static std::string usage(const std::optional<std::filesystem::path>& testDirectory);
    /// A program run from a build tree is no installed application and has no version number.
    static std::string version();
};

}  // namespace kelvo
