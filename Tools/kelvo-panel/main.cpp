#include <unistd.h>

#include <iostream>
#include <memory>
#include <optional>
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

constexpr const char* usage = "usage: kelvo-panel [--hosted] | --help\n";

void printHelp() {
    std::cout
        << usage
        << "\nA client of the simulated desktop at $KELVO_SIM_SOCKET, for trying the windows, "
           "status items and menus a process draws itself. It writes what reaches them on "
           "standard output, one JSON object a line (\"ready\" first, with its windows' "
           "numbers), and runs until it is ended or \"Quit Panel Client\" is picked from its "
           "menu.\n"
           "\nWithout options it shows a 640×400 panel that takes keys while another "
           "application stays in front (with a text field), a titled window "
           "\"Panel Client Settings\" with a close button, and a status item \"Panel "
           "client\" whose menu opens on a right or Control click.\n"
           "\n  --hosted  instead, one titled window of declarative views (a button, a "
           "switch, a slider, a segmented and a menu picker) bound to a model, whose "
           "values are written as a \"state\" line whenever they change\n"
           "  --help    this text\n";
}

/// The options, or an exit status when the process is to end at once.
struct Options {
    bool hosted = false;
    std::optional<int> exitStatus;
};

Options readOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            printHelp();
            options.exitStatus = 0;
            return options;
        }
        if (argument == "--hosted" && !options.hosted) {
            options.hosted = true;
            continue;
        }
        std::cerr << "kelvo-panel: "
                  << (argument == "--hosted" ? "--hosted is given twice"
                                             : "unknown argument " + argument)
                  << "\n"
                  << usage;
        options.exitStatus = 2;
        return options;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = readOptions(argc, argv);
    if (options.exitStatus) return *options.exitStatus;
    const bool hosted = options.hosted;
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
