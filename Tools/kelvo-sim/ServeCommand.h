#pragma once

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo_sim {

/// `kelvo-sim serve`: one desktop, served on a socket in real time until SIGINT, SIGTERM or a
/// client's "shutdown"; the socket file goes with it.
class ServeCommand {
  public:
    class UsageError : public std::invalid_argument {
      public:
        using std::invalid_argument::invalid_argument;
    };

    struct Options {
        std::string socketPath;
        /// Side by side, left to right; the first holds the menu bar.
        std::vector<CGSize> displays;
        bool trusted = true;
        /// Seconds since 1970; none keeps this machine's.
        std::optional<double> bootTime;
        /// The folder that stands for the machine's root ("/Applications" lies below it).
        std::optional<std::string> root;
        /// Keeps a Dock process of the desktop's own (`kelvo-sim dock`), started again when it
        /// ends.
        bool dock = false;
    };

    static constexpr CGSize defaultDisplay{1920, 1080};

    explicit ServeCommand(std::ostream& err) : err_(err) {}

    /// Throws UsageError.
    static Options parse(const std::vector<std::string>& arguments);
    /// Serves until told to stop; the exit status.
    int run(const Options& options);

  private:
    std::ostream& err_;
};

}  // namespace kelvo_sim
