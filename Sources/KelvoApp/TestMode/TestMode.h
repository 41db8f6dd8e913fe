#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Base/Foundation/NSThread.h"
#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "KelvoCore/Wire/WireCommand.h"

namespace kelvo {

class HotkeyService;
class WorkspaceStore;

/// Test mode: switched on by `KELVO_TEST_CONFIG_DIR` alone. It moves the configuration, the
/// session file and the log into that folder, refuses to run beside another instance, and
/// serves the line protocol on standard input and output.
class TestMode {
  public:
    TestMode() = delete;

    /// The bundle identifier and the executable name by which another instance is known.
    static constexpr const char* bundleIdentifier = "com.skarvelt.kelvo";
    static constexpr const char* executableName = "KelvoApp";
    static constexpr const char* readerThreadName = "com.skarvelt.kelvo.test-mode";
    /// What a line that is not a request is answered with, before the line.
    static constexpr std::string_view unreadableText = "unreadable request: ";

    using Focused = std::function<std::optional<WindowID>()>;

    /// The folder a value of the variable names: relative to the working directory, no tilde
    /// expansion; set but empty counts as set. None when the variable is not set.
    static std::optional<std::filesystem::path> directoryFrom(
        const std::optional<std::string>& value);
    /// This process's folder, decided once from its environment.
    static const std::optional<std::filesystem::path>& directory();
    static bool isActive() { return directory().has_value(); }

    static std::filesystem::path configURL(const std::optional<std::filesystem::path>& directory);
    static std::filesystem::path logURL(const std::optional<std::filesystem::path>& directory);

    /// In test mode, ends the process with status 3 when another instance runs; false then.
    static bool prepare(const std::optional<std::filesystem::path>& directory,
                        const AppPlatform& platform, int standardError,
                        const std::function<void(int)>& exit);
    /// The refusal line for the other instances found, or none when there is none.
    static std::optional<std::string> refusal(const std::vector<RunningApplication>& running,
                                              int ownPID);

    /// In test mode, starts the reader of requests on its own thread and returns at once with
    /// it; none outside test mode.
    static std::optional<NSThread> start(const std::optional<std::filesystem::path>& directory,
                                         HotkeyService& hotkeys, WorkspaceStore& store,
                                         Focused focused, int pid, std::function<void()> terminate,
                                         int standardInput, int standardOutput);
    /// One request on the main thread.
    static KelvoTestReply handle(const KelvoTestRequest& request, HotkeyService& hotkeys,
                                 WorkspaceStore& store, const Focused& focused, int pid,
                                 const std::function<void()>& terminate);
    /// The reply to one line as read, without its terminator; none for an empty line. Hands
    /// decoded requests to `handle` through `onMain`.
    static std::optional<KelvoTestReply> answer(
        const std::string& line,
        const std::function<KelvoTestReply(const KelvoTestRequest&)>& onMain);
    static void send(const KelvoTestReply& reply, int standardOutput);

    /// What a line past the bound of a line is answered with, before its first bytes and "…":
    /// that it is too long, and the bound.
    static std::string overlongText(std::size_t limit);
    /// The refusal of a command that names a desktop outside 1 … `desktopCount`, with the
    /// number as sent and that range; none for any other command.
    static std::optional<std::string> missingDesktop(const WireCommand& command, int desktopCount);
};

}  // namespace kelvo
