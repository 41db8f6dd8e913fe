#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvo_sim {

/// The program that draws `kelvo-sim screenshot`, beside kelvo-sim: every other verb is a
/// client or the server and needs none of the drawing libraries, so kelvo-sim leaves them out
/// and starts in a fraction of the time, and hands this verb over whole.
class ScreenshotProgram {
  public:
    ScreenshotProgram() = delete;
    static constexpr const char* verb = "screenshot";
    static constexpr const char* fileName = "kelvo-sim-screenshot";

    /// Whether these arguments (after the program's name) are the drawing program's.
    static bool takes(const std::vector<std::string>& arguments);
    /// Becomes the drawing program with the same arguments, which then answers, writes and ends
    /// as kelvo-sim would have; returns only when it cannot be started, with status 1 and the
    /// reason on `err`.
    static int become(char** argv, std::ostream& err);
};

}  // namespace kelvo_sim
