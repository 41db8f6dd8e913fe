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
    /// The verb's arguments, as both programs' usage shows them.
    static constexpr const char* arguments =
        "FILE.png [--caption TEXT] [--showing LABEL [--within SECONDS]]";
    static constexpr int usageError = 2;

    /// Whether these arguments (after the program's name) are the drawing program's.
    static bool takes(const std::vector<std::string>& arguments);
    /// Becomes the drawing program with the same arguments, which then answers, writes and ends
    /// as kelvo-sim would have; returns only when it cannot be started, with status 1 and the
    /// reason on `err`.
    static int become(char** argv, std::ostream& err);

    /// What the drawing program says of itself: the verb it draws, and that kelvo-sim is the
    /// program to run.
    static std::string usage();
    /// The drawing program run by itself without its verb: `--help` prints its usage on `out`
    /// (status 0); anything else is refused on `err` with a pointer to kelvo-sim.
    static int answerAlone(const std::vector<std::string>& arguments, std::ostream& out,
                           std::ostream& err);
};

}  // namespace kelvo_sim
