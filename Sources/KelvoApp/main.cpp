// The program: reads its command line, finds the desktop to manage, registers with it as the
// system itself, starts the coordinator and runs the main loop until one of the ways of
// quitting ends the process.

#include <malloc.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/MainLoop.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/ProgramArguments.h"
#include "KelvoApp/System/AXWindowEvents.h"
#include "KelvoApp/System/FrameworkPlatform.h"
#include "KelvoApp/System/QuartzEventTaps.h"
#include "KelvoApp/TestMode/TestMode.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/SharedConnection.h"

namespace {

/// Blocks of this size and more come from the system and go back to it when freed.
constexpr int largeBlock = 128 * 1024;

/// A window's pixels, their packed picture and its line to the desktop are large and live for a
/// moment. They are taken from the system and given back as soon as they go, at any size above
/// a large block, rather than kept in the heap's free lists once the first of them went: there
/// they would hold the process's resident memory at its highest after every window closed.
void returnLargeBlocksToTheSystem() {
    mallopt(M_MMAP_THRESHOLD, largeBlock);
}

int noDesktop(const std::string& reason) {
    writeAll(2, "kelvo: no desktop to manage: " + reason + "\n");
    return kelvo::StartupAndQuit::noDesktopStatus;
}

/// Answers `--help` and `--version`, and refuses what it does not know, before anything else of
/// the system runs; none when the program is to run.
std::optional<int> answerCommandLine(const std::vector<std::string>& arguments) {
    using kelvo::ProgramArguments;
    const auto read = ProgramArguments::read(arguments);
    switch (read.asked) {
        case ProgramArguments::Asked::run:
            return std::nullopt;
        case ProgramArguments::Asked::help:
            writeAll(1, ProgramArguments::usage(kelvo::TestMode::directory()));
            return 0;
        case ProgramArguments::Asked::version:
            writeAll(1, ProgramArguments::version());
            return 0;
        case ProgramArguments::Asked::unknown:
            writeAll(2, "kelvo: unknown argument " + read.unknownArgument + "\n" +
                            ProgramArguments::usage(kelvo::TestMode::directory()));
            return ProgramArguments::usageStatus;
    }
    return std::nullopt;
}

/// A lost desktop ends the process, on the main queue once the current turn is over: every
/// window that can still be reached is put back first.
void endWhenTheDesktopGoes(sim::SocketConnection& connection, kelvo::Coordinator& coordinator) {
    const auto wentAway = [&connection, &coordinator] {
        DispatchQueue::main().async([&connection, &coordinator] {
            coordinator.startup.desktopWentAway(connection.lostReason());
        });
    };
    connection.setDisconnectHandler(wentAway);
    // It may have gone before the handler was there.
    if (!connection.isConnected()) wentAway();
}

}  // namespace

int main(int argc, char** argv) {
    // Before the first thread exists, so that every thread inherits the mask and none takes
    // the default action on a signal during start-up.
    kelvo::StartupAndQuit::holdQuitSignals();
    returnLargeBlocksToTheSystem();
    if (const auto status = answerCommandLine({argv + 1, argv + argc})) return *status;
    const auto address = sim::DesktopAddress::fromEnvironment();
    if (!address)
        return noDesktop(std::string(sim::DesktopAddress::environmentVariable) + " is not set");
    std::shared_ptr<sim::SocketConnection> connection;
    try {
        connection = sim::DesktopAddress::connectWatching(*address);
    } catch (const std::exception& error) {
        return noDesktop(error.what());
    }
    sim::SharedConnection::install(connection);
    sim::ApplicationSpec self;
    self.bundleID = kelvo::TestMode::bundleIdentifier;
    self.name = "Kelvo";
    self.executablePath = executablePath().string();
    self.pid = static_cast<sim::Pid>(::getpid());
    self.activationPolicy = sim::ActivationPolicy::accessory;
    if (connection->registerClient(self) == 0) {
        return noDesktop(connection->isConnected() ? "the desktop refused this program"
                                                   : connection->lostReason());
    }

    // A quit asked by the desktop ends the process once the terminate notice has reached its
    // observers, which take it on the main queue.
    NSApplication::sharedApplication().setTerminationHandler(
        [] { DispatchQueue::main().async([] { ::_exit(0); }); });

    // Both live until the process ends; nothing is torn down on the way out.
    auto* platform = new kelvo::FrameworkPlatform();
    auto* taps = new kelvo::QuartzEventTaps();
    kelvo::CoordinatorProcess process;
    process.platform = platform;
    process.environment = [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    // The quit paths flush the log and the configuration themselves; the threads of the log,
    // the event stream and the connection are not waited for.
    // A start-up step that fails because the desktop went away meanwhile reports that, not
    // its own failure.
    process.exit = [connection](int status) {
        if (status != 0 && status != kelvo::StartupAndQuit::noDesktopStatus &&
            !connection->isConnected()) {
            writeAll(2, std::string(kelvo::StartupAndQuit::desktopWentAwayText) +
                            connection->lostReason() + "\n");
            status = kelvo::StartupAndQuit::noDesktopStatus;
        }
        ::_exit(status);
    };
    process.taps = taps;
    process.makeBridge = [](const kelvo::Config& config) {
        return std::make_shared<kelvo::AXWindowBridge>(config);
    };
    process.makeEvents = [](kelvo::AXWindowEvents::Handler handle) {
        return std::make_unique<kelvo::AXWindowEvents>(std::move(handle));
    };
    auto* coordinator = new kelvo::Coordinator(std::move(process));
    endWhenTheDesktopGoes(*connection, *coordinator);
    coordinator->start();
    MainLoop::shared().run();
    return 0;
}
