#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MainLoop.h"
#include "Base/JSON/JSONWriter.h"
#include "HostedClient.h"
#include "PanelClient.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/SharedConnection.h"

// kelvo-panel: a client of the desktop at $KELVO_SIM_SOCKET with a key panel, a titled window
// and a status item; it writes what reaches them as one JSON object per line and runs until it
// is ended (or quits from its menu). With --hosted it shows instead a window of declarative
// views bound to a model, and writes the model's values as they change.

namespace {

void writeLine(const kelvo::JSONValue& report) {
    const std::string text = kelvo::JSONWriter::write(report) + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (count <= 0) return;
        written += static_cast<std::size_t>(count);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool hosted = argc == 2 && std::string(argv[1]) == "--hosted";
    if (argc > 2 || (argc == 2 && !hosted)) {
        std::cerr << "usage: kelvo-panel [--hosted]\n";
        return 2;
    }
    std::shared_ptr<sim::DesktopConnection> connection;
    try {
        connection = sim::DesktopAddress::connect(sim::DesktopAddress::fromEnvironmentOrDefault());
    } catch (const std::exception& error) {
        std::cerr << "kelvo-panel: no desktop: " << error.what() << '\n';
        return 1;
    }
    sim::SharedConnection::install(connection);
    sim::ApplicationSpec self;
    self.bundleID = "com.skarvelt.kelvo-panel";
    self.name = "Panel Client";
    self.pid = static_cast<sim::Pid>(::getpid());
    self.activationPolicy = sim::ActivationPolicy::accessory;
    if (connection->registerClient(self) == 0) {
        std::cerr << "kelvo-panel: the desktop did not take this client\n";
        return 1;
    }
    NSApplication& application = NSApplication::sharedApplication();
    application.setTerminationHandler([] { DispatchQueue::main().async([] { ::_exit(0); }); });
    // The client lives as long as the process.
    if (hosted) {
        auto* client = new kelvo_panel::HostedClient(writeLine);
        DispatchQueue::main().async([client] { client->start(); });
    } else {
        auto* client = new kelvo_panel::PanelClient(writeLine);
        DispatchQueue::main().async([client] { client->start(); });
    }
    MainLoop::shared().run();
    return 0;
}
