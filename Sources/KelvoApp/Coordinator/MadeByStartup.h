#pragma once

namespace kelvo {

/// Ends the process with a line on standard error naming what was reached before start-up
/// made it. A part's accessor to something start-up makes goes through `madeByStartup`, so
/// that a call made too early in the wiring stops at once and says which one, instead of
/// dereferencing null somewhere further on.
[[noreturn]] void usedBeforeStartup(const char* what);

/// What `made` points to once start-up made it; `what` names the accessor for the message.
template <class Pointer>
auto& madeByStartup(const Pointer& made, const char* what) {
    if (!made) usedBeforeStartup(what);
    return *made;
}

}  // namespace kelvo
