#pragma once

namespace kelvo {

/// What the user asked of a launcher pick: go to the application's window where it is, or
/// bring that window to the active desktop.
enum class LauncherRequest { goTo, bringHere };

}  // namespace kelvo
