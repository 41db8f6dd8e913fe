#include "DockCommand.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <ostream>
#include <variant>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/MainLoop.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/SocketConnection.h"

namespace kelvo_sim {

namespace {

void stop() {
    DispatchQueue::main().async([] { MainLoop::shared().stop(); });
}

}  // namespace

int DockCommand::run() {
    // Throws SocketError when no desktop answers there.
    auto connection =
        std::make_shared<sim::SocketConnection>(sim::DesktopAddress::fromEnvironmentOrDefault());
    auto desktopGone = std::make_shared<std::atomic<bool>>(false);
    connection->setEventSink([](const sim::DesktopEvent& event) {
        if (std::holds_alternative<sim::TerminateRequested>(event)) stop();
    });
    connection->setDisconnectHandler([desktopGone] {
        *desktopGone = true;
        stop();
    });
    // Ready for the end before the Dock is known by its pid.
    auto interrupt = DispatchSource::makeSignalSource(SIGINT, DispatchQueue::main());
    auto terminate = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    for (auto* source : {&interrupt, &terminate}) {
        source->setEventHandler([] { MainLoop::shared().stop(); });
        source->resume();
    }
    sim::ApplicationSpec self;
    self.bundleID = bundleID;
    self.name = name;
    self.executablePath = executablePath().string();
    self.pid = static_cast<sim::Pid>(::getpid());
    self.activationPolicy = sim::ActivationPolicy::accessory;
    if (connection->registerClient(self) == 0) {
        err_ << "kelvo-sim: the desktop did not take the Dock" << std::endl;
        interrupt.cancel();
        terminate.cancel();
        return 1;
    }
    MainLoop::shared().run();
    interrupt.cancel();
    terminate.cancel();
    return *desktopGone ? 1 : 0;
}

}  // namespace kelvo_sim
