#include "KelvoAX/Bridge/FrameWriteStep.h"

namespace kelvo {

namespace {

double area(const CGRect& rect) {
    return rect.width() * rect.height();
}

}  // namespace

std::string FrameWriteStep::description() const {
    switch (kind_) {
        case Kind::enhancedUserInterface:
            return on_ ? "enhancedUserInterface(true)" : "enhancedUserInterface(false)";
        case Kind::position:
            return "position";
        case Kind::size:
            return "size";
        case Kind::readBack:
            return "readBack";
    }
    return "";
}

std::vector<FrameWriteStep> frameWriteSequence(const std::optional<CGRect>& lastKnown,
                                               const CGRect& target, bool enhancedUserInterface) {
    const bool shrinking = lastKnown && area(target) < area(*lastKnown);
    const std::vector<FrameWriteStep> core =
        shrinking ? std::vector{FrameWriteStep::size(), FrameWriteStep::position(),
                                FrameWriteStep::size()}
                  : std::vector{FrameWriteStep::position(), FrameWriteStep::size(),
                                FrameWriteStep::position()};
    std::vector<FrameWriteStep> steps;
    if (enhancedUserInterface) steps.push_back(FrameWriteStep::enhancedUserInterface(false));
    steps.insert(steps.end(), core.begin(), core.end());
    steps.push_back(FrameWriteStep::readBack());
    if (enhancedUserInterface) steps.push_back(FrameWriteStep::enhancedUserInterface(true));
    return steps;
}

}  // namespace kelvo
