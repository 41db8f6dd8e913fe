#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Simulator/DesktopValues.h"

namespace sim {

/// A modal alert as a client shows it: its texts and its buttons, in order.
struct AlertSpec {
    std::string messageText;
    std::string informativeText;
    std::vector<std::string> buttons;
    bool operator==(const AlertSpec&) const = default;
};

/// How an alert was answered: the first button 1000, the second 1001 and so on, as the
/// platform numbers them; `alertAbandoned` when none of its buttons was pressed (no desktop,
/// or a scripted press of a button the alert does not have).
using AlertAnswer = std::int64_t;
inline constexpr AlertAnswer alertFirstButton = 1000;
inline constexpr AlertAnswer alertAbandoned = -1001;

/// One alert the desktop showed, with the application that showed it and the answer it got.
struct AlertRecord {
    Pid owner = 0;
    AlertSpec alert;
    AlertAnswer answer = alertFirstButton;
    bool operator==(const AlertRecord&) const = default;
};

}  // namespace sim
