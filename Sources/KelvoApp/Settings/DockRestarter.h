#pragma once

namespace kelvo {

/// Restarts the Dock, so that it reads its changed preferences: the Dock is ended and macOS
/// starts it again by itself. The system tweak service calls it after a Dock preference
/// changed.
struct DockRestarter {
    DockRestarter() = delete;

    static constexpr const char* dockBundleIdentifier = "com.apple.dock";

    /// Sends SIGTERM to every running application with the Dock's bundle identifier that has
    /// a process identifier. Nothing is reported.
    static void restart();
};

}  // namespace kelvo
