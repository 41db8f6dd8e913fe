#pragma once

#include <string>

#include "KelvoCore/Guide/GuideStep.h"

namespace kelvo {

/// Where the guide is and whether it is still running. The guide's buttons and the permission
/// poll move it; once closed it ignores every move, and only a fresh flow reopens the guide.
struct GuideFlow {
    GuideStep step = GuideStep::accessibility;
    /// False once the guide was finished or skipped past its end.
    bool isOpen = true;
    /// True only after the forward button was pressed on the last step.
    bool completed = false;

    explicit GuideFlow(GuideStep from) : step(from) {}

    bool isFirst() const { return step == GuideStep::accessibility; }
    bool isLast() const { return step == GuideStep::done; }
    /// "Done" on the last step, "Continue" on every other.
    std::string forwardTitle() const;
    bool showsSkip() const { return !isLast(); }
    bool canGoBack() const { return !isFirst(); }

    /// To the next step; on the last step the guide closes as completed.
    void advance();
    /// As `advance()`, except that leaving the last step does not count as completing it.
    void skip();
    void back();
    /// The permission arrived while its page was showing: move on to the desktops.
    void accessibilityGranted();

    bool operator==(const GuideFlow&) const = default;

  private:
    void moveForward(bool completing);
};

}  // namespace kelvo
