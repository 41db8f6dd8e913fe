#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// One step of a frame write: switch the application's enhanced interface, write the target
/// origin, write the target size, or read the frame back.
class FrameWriteStep {
  public:
    enum class Kind { enhancedUserInterface, position, size, readBack };

    static FrameWriteStep enhancedUserInterface(bool on) {
        return FrameWriteStep(Kind::enhancedUserInterface, on);
    }
    static FrameWriteStep position() { return FrameWriteStep(Kind::position, false); }
    static FrameWriteStep size() { return FrameWriteStep(Kind::size, false); }
    static FrameWriteStep readBack() { return FrameWriteStep(Kind::readBack, false); }

    Kind kind() const { return kind_; }
    /// The value `enhancedUserInterface` writes.
    bool on() const { return on_; }
    /// "position", "size", "readBack", or "enhancedUserInterface(false)" and "(true)".
    std::string description() const;

    bool operator==(const FrameWriteStep&) const = default;

  private:
    FrameWriteStep(Kind kind, bool on) : kind_(kind), on_(on) {}

    Kind kind_;
    bool on_;
};

/// The steps of a frame write from the last frame read (if any) to `target`. A window that
/// shrinks is resized first, so that its new origin never pushes the old size off the screen
/// (where the application would clamp it); every other write moves, resizes and moves again,
/// because a resize near an edge may move the window. The enhanced interface, which animates
/// and fights such writes, is off while they are made.
std::vector<FrameWriteStep> frameWriteSequence(const std::optional<CGRect>& lastKnown,
                                               const CGRect& target, bool enhancedUserInterface);

}  // namespace kelvo
