#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "SimCommandLine.h"

namespace kelvo_sim {

/// `screenshot FILE.png [--caption TEXT] [--showing LABEL [--within SECONDS]]`: the desktop
/// drawn with cairo and pango into a PNG file, at once or the moment an element of that label
/// shows. Only the program that draws it links the drawing (`kelvo-sim-screenshot`).
class ScreenshotVerb {
  public:
    ScreenshotVerb() = delete;
    /// The verb's action, its arguments checked (throws SimCommandLine::UsageError); a picture
    /// that cannot be written is refused (SimCommandLine::Refused).
    static std::function<void(sim::DesktopClient&)> action(const std::vector<std::string>& rest,
                                                           std::ostream& out);
};

}  // namespace kelvo_sim
